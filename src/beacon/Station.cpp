#include "beacon/Station.h"

#include "freqplan/Limits.h"
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

SettingsProblem restore(Station& station) {
    freqplan::FrequencyPlan& plan = station.plan();
    // The window's controls before start-up restores them: what a pass plays where no setting says
    // otherwise. Start loads VFO A's level bar and VFO B's level field.
    plan.assumeVfoA(limits::vfoACoarseHz.design, 0, synth::WaveformKind::Off, limits::levelBar.design);
    plan.assumeVfoB(limits::vfoBHz.design, synth::WaveformKind::Off, limits::levelField.design);
    const station::StoredSettings& s = station.load();

    std::int32_t rangeMin = s.rangeMinHz;
    std::int32_t rangeMax = s.rangeMaxHz;
    if (!station.options().restoreTuningRange(rangeMin, rangeMax)) {
        rangeMin = limits::defaultTuningRangeHz.min;
        rangeMax = limits::defaultTuningRangeHz.max;
    }
    const std::int32_t coarseHz = s.vfoACoarseHz;
    const std::int32_t fineCentiHz = s.vfoAFineCentiHz;
    if (coarseHz == 0)
        return {"no VFO A frequency is stored in " + station.settings().path() +
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

    // A waveform that differs from the window's first one is chosen (which the window stores again).
    if (s.vfoAWaveform != synth::WaveformKind::Off)
        plan.setVfoAWaveform(s.vfoAWaveform);
    if (s.vfoBWaveform != synth::WaveformKind::Off)
        plan.setVfoBWaveform(s.vfoBWaveform);
    plan.setVfoA(coarseHz, fineCentiHz);
    plan.setVfoB(s.vfoBHz);
    plan.retuneVfoA();
    plan.retuneVfoB();
    return {};
}

std::string unusableReference(Station& station) {
    freqplan::FrequencyPlan& plan = station.plan();
    const keyer::Port& port = station.port();
    // The window reads a correction it cannot convert as 1.0; a beacon must not send on a guess.
    const std::string correctionText = station.settings().readText(keys::correction.name, "");
    if (correctionText.find_first_not_of(' ') != std::string::npos && !platform::parseDecimal(correctionText))
        return "the stored correction factor " + std::string(keys::correction.name) + "=" + correctionText +
               " is not a number (the decimal separator here is \"" +
               std::string(1, platform::decimalSeparator()) + "\")";
    const double correction = plan.factors().correction;
    if (!std::isfinite(correction) || correction <= 0.0)
        return "the stored correction factor " + std::string(keys::correction.name) + "=" +
               platform::formatGeneral(correction) + " is not a positive number";
    if (plan.vfoAWaveform() != synth::WaveformKind::Sine &&
        plan.vfoAWaveform() != synth::WaveformKind::Square)
        return "VFO A plays no tone (" +
               stored(keys::vfoAWaveform, static_cast<std::int32_t>(plan.vfoAWaveform())) +
               "): choose \"Sine\" or \"Squre\" for VFO A in the window";
    if (port.portChoice != keyer::ComPort::Com1 && port.portChoice != keyer::ComPort::Com2)
        return "the stored port choice " +
               stored(keys::portChoice, static_cast<std::int32_t>(port.portChoice)) +
               " names no port: choose Com1 or Com2 in the window";
    // The dots of a DFCW mode and the gaps of an FSKCW one are sent shifted, a WSPR pass's symbols up to
    // 2.2 Hz either side: every tone must play.
    const keyer::KeyingMode& mode = station.transmission().mode();
    const keyer::DfcwMode shifting = mode.values.dfcwMode;
    const std::int32_t shift = shifting != keyer::DfcwMode::Off ? mode.values.dfcwShift : 0;
    const bool wspr = mode.label == kWsprLabel;
    for (const std::int32_t df : {0, shift, wspr ? 220 : 0, wspr ? -220 : 0}) {
        plan.setDfcwShift(df);
        const double toneHz = std::fabs(static_cast<double>(plan.vfoAWord()) / 4096.0);
        plan.setDfcwShift(0);
        if (toneHz >= kHighestToneHz)
            return "VFO A's tone would be " + hertz(toneHz) + " (" +
                   stored(keys::vfoACoarse, plan.vfoACoarseHz()) + ", " +
                   stored(keys::vfoAFactor, plan.factors().vfoAFactor) + ", " +
                   stored(keys::vfoAOffset, plan.factors().vfoAOffset) +
                   "): at or above 22050 Hz, half the sample rate, the sound card cannot play it";
    }
    return {};
}

void chooseMode(Station& station, int presetRow) {
    if (presetRow == keyer::Presets::kNoRow)
        station.presets().chooseCustomMode();
    else
        station.presets().choose(presetRow);
}

void chooseMode(Station& station, const Options& options) {
    keyer::Presets& presets = station.presets();
    if (options.wspr2) {
        presets.chooseMode({kWsprLabel, {}});
    } else if (options.fskcwDotSeconds != 0) {
        presets.chooseMode(*keyer::Presets::fskcw(options.fskcwDotSeconds, options.shiftCentiHz));
    } else if (options.presetRow == keyer::Presets::kNoRow && options.shiftCentiHz) {
        keyer::CustomMode custom = presets.customMode();
        custom.shiftCentiHz = *options.shiftCentiHz;
        presets.setCustomMode(custom);
        presets.chooseCustomMode();
    } else {
        chooseMode(station, options.presetRow);
        if (options.shiftCentiHz) {
            keyer::KeyingValues values = station.transmission().keying();
            values.dfcwShift = *options.shiftCentiHz;
            station.transmission().setKeying(values);
        }
    }
}

void sendIdentification(Station& station, bool atStart, bool atEnd) {
    station.transmission().identification().sendStart = atStart;
    station.transmission().identification().sendEnd = atEnd;
}

void startLog(Station& station) {
    station.activityLog().ensureFile();
    station.logbook().startupHeader();
}

void openPort(Station& station) {
    keyer::Port& port = station.port();
    port.open({port.portChoice, port.keyLineChoice, port.port1(), port.port2()});
}

} // namespace tarvel::beacon
