#include "beacon/Station.h"

#include "audio/BufferSize.h"
#include "freqplan/Limits.h"
#include "freqplan/Options.h"
#include "freqplan/PlanTone.h"
#include "keyer/Presets.h"
#include "platform/Locale.h"
#include "settings/Keys.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvel::beacon {
namespace {

namespace keys = settings::keys;
namespace limits = freqplan::limits;

// Half the sample rate: a tone at or above it comes out of the sound card as another, lower one.
constexpr double kHighestToneHz = 22050.0;

std::string stored(const settings::IntegerKey& key, std::int32_t value) {
    return std::string(key.name) + "=" + std::to_string(value);
}

std::string hertz(double hz) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f Hz", hz);
    return text;
}

} // namespace

Station::Station(StationDevices devices)
    : devices_(std::move(devices)), ini_(devices_.settingsPath, settings::IniFile::Access::ReadOnly),
      stream_(
          vfoA_, vfoB_, [this] { return devices_.makeAudioDevice(ini_.read(keys::audioDevice)); },
          devices_.workerFailed),
      tone_(stream_, vfoA_, vfoB_, ini_, freqplan::toneSourceOf(plan_)), plan_(vfoA_, vfoB_, ini_),
      activityLog_(devices_.logPath, devices_.clock), logbook_(activityLog_, ini_),
      port_(devices_.lines, ini_), messages_(ini_),
      transmission_(devices_.keyerTimer, port_.transmitter(), plan_, tone_, logbook_, messages_,
                    devices_.clock, devices_.sink) {
    // Without its reference tone a transmission must not go on keying the transmitter.
    tone_.onToneLost = [this] {
        if (transmission_.onAir())
            transmission_.stopTransmission();
    };
}

Station::~Station() {
    shutDown();
}

SettingsProblem Station::restore() {
    // The window's controls before start-up restores them: what a pass plays where no setting says
    // otherwise. Start loads VFO A's level bar and VFO B's level field.
    plan_.assumeVfoA(limits::vfoACoarseHz.design, 0, 0, limits::levelBar.design);
    plan_.assumeVfoB(limits::vfoBHz.design, 0, limits::levelField.design);
    plan_.setDfcwShift(0);
    transmission_.setKeying({});
    transmission_.rewind();

    freqplan::Factors factors;
    factors.correction = ini_.read(keys::correction);
    factors.vfoAFactor = ini_.read(keys::vfoAFactor);
    factors.vfoBFactor = ini_.read(keys::vfoBFactor);
    factors.vfoBOffset = ini_.read(keys::vfoBOffset);
    factors.vfoAOffset = ini_.read(keys::vfoAOffset);
    plan_.restoreFactors(factors);

    const std::int32_t vfoBHz =
        std::clamp(ini_.read(keys::vfoBFrequency), limits::vfoBHz.min, limits::vfoBHz.max);
    const std::int32_t coarseHz = ini_.read(keys::vfoACoarse);
    const std::int32_t fineCentiHz = ini_.read(keys::vfoAFine);
    port_.portChoice = keyer::ComPort{ini_.read(keys::portChoice)};
    port_.keyLineChoice = keyer::KeyLine{ini_.read(keys::keyLineChoice)};
    const std::int32_t vfoAWaveform = std::clamp(ini_.read(keys::vfoAWaveform), -1, limits::lastWaveform);
    const std::int32_t vfoBWaveform = std::clamp(ini_.read(keys::vfoBWaveform), -1, limits::lastWaveform);
    for (int k = keys::messages.first; k <= keys::messages.last; ++k)
        messages_.setText(k, ini_.read(keys::messages, k));
    tone_.setBufferSetting(
        std::clamp(ini_.read(keys::bufferKiB), audio::bufferSizeKiB.min, audio::bufferSizeKiB.max));
    customMode_ = {ini_.read(keys::customDot), ini_.read(keys::customDash), ini_.read(keys::customPause),
                   ini_.read(keys::customLetterPause), ini_.read(keys::customShift)};
    logbook_.restore();
    keyer::Identification& id = transmission_.identification();
    id.endSpeedSetting = ini_.read(keys::endIdSpeed);
    id.startSpeedSetting = ini_.read(keys::startIdSpeed);
    id.startText = ini_.read(keys::startIdText);
    id.endText = ini_.read(keys::endIdText);
    // The speed buttons start on CW; a stored choice of QRSS3 checks the other one.
    id.speeds = {id.endSpeedSetting != 2, id.endSpeedSetting == 2, id.startSpeedSetting != 2,
                 id.startSpeedSetting == 2};
    priorityChoice_ = ini_.read(keys::priority);
    port_.loadNames();

    std::int32_t rangeMin = ini_.read(keys::rangeMin);
    std::int32_t rangeMax = ini_.read(keys::rangeMax);
    freqplan::Options range(ini_);
    if (!range.restoreTuningRange(rangeMin, rangeMax)) {
        rangeMin = limits::defaultTuningRangeHz.min;
        rangeMax = limits::defaultTuningRangeHz.max;
    }
    if (coarseHz == 0)
        return {"no VFO A frequency is stored in " + ini_.path() +
                ": press \"Start\" in the window once, which stores it"};
    if (coarseHz < std::max(rangeMin, limits::vfoACoarseHz.min) ||
        coarseHz > std::min(rangeMax, limits::vfoACoarseHz.max))
        return {"the stored VFO A frequency, " + std::to_string(coarseHz) +
                " Hz, lies outside the tuning range " + std::to_string(rangeMin) + " to " +
                std::to_string(rangeMax) + " Hz: tune VFO A in the window and press \"Start\""};
    if (fineCentiHz < limits::vfoAFineCentiHz.min || fineCentiHz > limits::vfoAFineCentiHz.max)
        return {"the stored fine value of VFO A, " + std::to_string(fineCentiHz) +
                " x 0.01 Hz, lies outside " + std::to_string(limits::vfoAFineCentiHz.min) + " to " +
                std::to_string(limits::vfoAFineCentiHz.max) +
                ": tune VFO A in the window and press \"Start\""};

    // A waveform that differs from the window's first one is chosen, which stores it again.
    if (vfoAWaveform != 0)
        plan_.setVfoAWaveform(vfoAWaveform);
    if (vfoBWaveform != 0)
        plan_.setVfoBWaveform(vfoBWaveform);
    plan_.setVfoA(coarseHz, fineCentiHz);
    plan_.setVfoB(vfoBHz);
    plan_.retuneVfoA();
    plan_.retuneVfoB();
    return {};
}

std::string Station::unusableReference() {
    // The window reads a correction it cannot convert as 1.0; a beacon must not send on a guess.
    const std::string correctionText = ini_.readText(keys::correction.name, "");
    if (correctionText.find_first_not_of(' ') != std::string::npos && !platform::parseDecimal(correctionText))
        return "the stored correction factor " + std::string(keys::correction.name) + "=" + correctionText +
               " is not a number (the decimal separator here is \"" +
               std::string(1, platform::decimalSeparator()) + "\")";
    const double correction = plan_.factors().correction;
    if (!std::isfinite(correction) || correction <= 0.0)
        return "the stored correction factor " + std::string(keys::correction.name) + "=" +
               platform::formatGeneral(correction) + " is not a positive number";
    if (plan_.vfoAWaveform() != 1 && plan_.vfoAWaveform() != 2)
        return "VFO A plays no tone (" + stored(keys::vfoAWaveform, plan_.vfoAWaveform()) +
               "): choose \"Sine\" or \"Squre\" for VFO A in the window";
    if (port_.portChoice != keyer::ComPort::Com1 && port_.portChoice != keyer::ComPort::Com2)
        return "the stored port choice " +
               stored(keys::portChoice, static_cast<std::int32_t>(port_.portChoice)) +
               " names no port: choose Com1 or Com2 in the window";
    // The dots of a DFCW mode are sent shifted: both tones must play.
    const std::int32_t shift = transmission_.mode().values.dfcwMode == keyer::DfcwMode::Dfcw
                                   ? transmission_.mode().values.dfcwShift
                                   : 0;
    for (const std::int32_t df : {0, shift}) {
        plan_.setDfcwShift(df);
        const double toneHz = std::fabs(static_cast<double>(plan_.vfoAWord()) / 4096.0);
        plan_.setDfcwShift(0);
        if (toneHz >= kHighestToneHz)
            return "VFO A's tone would be " + hertz(toneHz) + " (" +
                   stored(keys::vfoACoarse, plan_.vfoACoarseHz()) + ", " +
                   stored(keys::vfoAFactor, plan_.factors().vfoAFactor) + ", " +
                   stored(keys::vfoAOffset, plan_.factors().vfoAOffset) +
                   "): at or above 22050 Hz, half the sample rate, the sound card cannot play it";
    }
    return {};
}

void Station::chooseMode(int presetRow) {
    keyer::Presets presets(transmission_, ini_);
    if (presetRow == keyer::Presets::kNoRow) {
        presets.setCustomMode(customMode_);
        presets.chooseCustomMode();
    } else {
        presets.choose(presetRow);
    }
}

void Station::sendIdentification(bool atStart, bool atEnd) {
    transmission_.identification().sendStart = atStart;
    transmission_.identification().sendEnd = atEnd;
}

void Station::startLog() {
    activityLog_.ensureFile();
    logbook_.startupHeader();
}

void Station::openPort() {
    port_.open({port_.portChoice, port_.keyLineChoice, port_.port1(), port_.port2()});
}

void Station::shutDown() {
    // Each step is tried whatever the one before did: the port must be let go with both lines low.
    try {
        if (transmission_.onAir())
            transmission_.stopTransmission();
    } catch (...) {
    }
    tone_.stop();
    const bool stopped = stream_.stopAndWait();
    port_.transmitter().releasePort();
    if (!stopped)
        devices_.sink.show(stream_.leftBehindNotice());
}

} // namespace tarvel::beacon
