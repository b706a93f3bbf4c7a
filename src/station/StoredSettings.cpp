#include "station/StoredSettings.h"

#include "audio/BufferSize.h"
#include "freqplan/Limits.h"
#include "settings/Keys.h"

#include <algorithm>

namespace tarvel::station {

StoredSettings readStoredSettings(const settings::IniReader& file) {
    namespace keys = settings::keys;
    namespace limits = freqplan::limits;
    using keyer::CustomMode;
    StoredSettings s;
    s.factors.correction = file.read(keys::correction);
    s.cancelledOffset = audio::readCancelledOffset(file);
    s.factors.vfoAFactor = file.read(keys::vfoAFactor);
    s.factors.vfoBFactor = file.read(keys::vfoBFactor);
    s.factors.vfoBOffset = file.read(keys::vfoBOffset);
    s.factors.vfoAOffset = file.read(keys::vfoAOffset);
    s.vfoBHz = std::clamp(file.read(keys::vfoBFrequency), limits::vfoBHz.min, limits::vfoBHz.max);
    s.vfoACoarseHz = file.read(keys::vfoACoarse);
    s.vfoAFineCentiHz = file.read(keys::vfoAFine);
    for (int k = keys::memoryCoarse.first; k <= keys::memoryCoarse.last; ++k)
        s.memoryCoarseHz[static_cast<std::size_t>(k - keys::memoryCoarse.first)] =
            file.read(keys::memoryCoarse, k);
    s.rangeMaxHz = file.read(keys::rangeMax);
    s.rangeMinHz = file.read(keys::rangeMin);
    s.compactShowsVfoB = file.read(keys::compactShowsVfoB) == 1;
    s.compactShowsVfoA = file.read(keys::compactShowsVfoA) == 1;
    s.portChoice = file.read(keys::portChoice);
    s.keyLineChoice = file.read(keys::keyLineChoice);
    // The waveform group takes a stored number as its item, or none (-1) beyond its items.
    const auto waveform = [](std::int32_t stored) {
        return static_cast<synth::WaveformKind>(
            std::clamp(stored, static_cast<std::int32_t>(synth::WaveformKind::None), limits::lastWaveform));
    };
    s.vfoAWaveform = waveform(file.read(keys::vfoAWaveform));
    s.vfoBWaveform = waveform(file.read(keys::vfoBWaveform));
    for (int k = keys::messages.first; k <= keys::messages.last; ++k)
        s.messages[static_cast<std::size_t>(k - keys::messages.first)] = file.read(keys::messages, k);
    s.bufferKiB = std::clamp(file.read(keys::bufferKiB), audio::bufferSizeKiB.min, audio::bufferSizeKiB.max);
    s.customMode = {
        std::clamp(file.read(keys::customDot), CustomMode::kDotMin, CustomMode::kDotMax),
        std::clamp(file.read(keys::customDash), CustomMode::kDashMin, CustomMode::kDashMax),
        std::clamp(file.read(keys::customPause), CustomMode::kPauseMin, CustomMode::kPauseMax),
        std::clamp(file.read(keys::customLetterPause), CustomMode::kBpauseMin, CustomMode::kBpauseMax),
        std::clamp(file.read(keys::customShift), CustomMode::kShiftMin, CustomMode::kShiftMax)};
    s.logging = file.read(keys::logging) == 1;
    s.endIdSpeed = file.read(keys::endIdSpeed);
    s.startIdText = file.read(keys::startIdText);
    s.endIdText = file.read(keys::endIdText);
    s.startIdSpeed = file.read(keys::startIdSpeed);
    s.priority = file.read(keys::priority);
    s.port1 = file.read(keys::port1Device);
    s.port2 = file.read(keys::port2Device);
    s.wspr = {file.read(keys::wsprCall), file.read(keys::wsprLocator), file.read(keys::wsprPower),
              file.read(keys::wsprTxPercent)};
    return s;
}

} // namespace tarvel::station
