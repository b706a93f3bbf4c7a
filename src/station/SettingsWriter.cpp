#include "station/SettingsWriter.h"

#include "settings/Keys.h"

namespace tarvel::station {

namespace keys = settings::keys;

void writeChangesOf(settings::IniFile& ini, freqplan::FrequencyPlan& plan) {
    freqplan::PlanChanges& changed = plan.changed;
    changed.vfoBHz.connect([&ini](std::int32_t hz) { ini.write(keys::vfoBFrequency, hz); });
    changed.correction.connect([&ini](double correction) { ini.write(keys::correction, correction); });
    changed.vfoAFactor.connect([&ini](std::int32_t n) { ini.write(keys::vfoAFactor, n); });
    changed.vfoBFactor.connect([&ini](std::int32_t n) { ini.write(keys::vfoBFactor, n); });
    changed.vfoBOffset.connect([&ini](std::int32_t hz) { ini.write(keys::vfoBOffset, hz); });
    changed.vfoAOffset.connect([&ini](std::int32_t hz) { ini.write(keys::vfoAOffset, hz); });
    // The file keeps the radio group's item number.
    changed.vfoAWaveform.connect([&ini](synth::WaveformKind waveform) {
        ini.write(keys::vfoAWaveform, static_cast<std::int32_t>(waveform));
    });
    changed.vfoBWaveform.connect([&ini](synth::WaveformKind waveform) {
        ini.write(keys::vfoBWaveform, static_cast<std::int32_t>(waveform));
    });
}

void writeChangesOf(settings::IniFile& ini, freqplan::Options& options) {
    options.compactVfoAChosen.connect(
        [&ini](bool shown) { ini.write(keys::compactShowsVfoA, shown ? 1 : 0); });
    options.compactVfoBChosen.connect(
        [&ini](bool shown) { ini.write(keys::compactShowsVfoB, shown ? 1 : 0); });
    options.tuningRangeSet.connect([&ini](std::int32_t minHz, std::int32_t maxHz) {
        ini.write(keys::rangeMin, minHz);
        ini.write(keys::rangeMax, maxHz);
    });
}

void writeChangesOf(settings::IniFile& ini, freqplan::Memories& memories) {
    memories.stored.connect([&ini](int k, const freqplan::Memory& m) {
        ini.write(keys::memoryCoarse, k, m.coarseHz);
        ini.write(keys::memoryFine, k, m.fineCentiHz);
    });
}

void writeChangesOf(settings::IniFile& ini, audio::ToneOutput& tone) {
    tone.vfoAKept.connect([&ini](std::int32_t coarseHz, std::int32_t fineCentiHz) {
        ini.write(keys::vfoACoarse, coarseHz);
        ini.write(keys::vfoAFine, fineCentiHz);
    });
    tone.bufferSaved.connect([&ini](int kib) { ini.write(keys::bufferKiB, kib); });
}

void writeChangesOf(settings::IniFile& ini, audio::AudioDeviceChoice& audioDevice) {
    audioDevice.chosen.connect([&ini](const std::string& pcm) { ini.write(keys::audioDevice, pcm); });
}

void writeChangesOf(settings::IniFile& ini, audio::ClockMeasurement& clock) {
    clock.cancelledChanged.connect([&ini](double ppm) { ini.write(keys::correctionCancelsPpm, ppm); });
}

void writeChangesOf(settings::IniFile& ini, log::Logbook& logbook) {
    logbook.switched.connect([&ini](bool on) { ini.write(keys::logging, on ? 1 : 0); });
}

void writeChangesOf(settings::IniFile& ini, keyer::Port& port) {
    port.saved.connect([&ini](const keyer::PortChoice& choice) {
        ini.write(keys::portChoice, static_cast<std::int32_t>(choice.com));
        ini.write(keys::keyLineChoice, static_cast<std::int32_t>(choice.keyLine));
        ini.write(keys::port1Device, choice.port1);
        ini.write(keys::port2Device, choice.port2);
    });
}

void writeChangesOf(settings::IniFile& ini, keyer::Presets& presets) {
    presets.customSaved.connect([&ini](const keyer::CustomMode& custom) {
        ini.write(keys::customDot, custom.dotSeconds);
        ini.write(keys::customDash, custom.dashFactor);
        ini.write(keys::customPause, custom.gapDivisor);
        ini.write(keys::customLetterPause, custom.letterGapFactor);
        ini.write(keys::customShift, custom.shiftCentiHz);
    });
}

void writeChangesOf(settings::IniFile& ini, keyer::BeaconMessages& messages) {
    messages.stored.connect([&ini](int k, const std::string& text) { ini.write(keys::messages, k, text); });
}

void writeChangesOf(settings::IniFile& ini, keyer::Identification& identification) {
    identification.saved.connect([&ini](const keyer::Identification& id) {
        ini.write(keys::endIdSpeed, id.endSpeedSetting);
        ini.write(keys::startIdText, id.startText);
        ini.write(keys::endIdText, id.endText);
        ini.write(keys::startIdSpeed, id.startSpeedSetting);
    });
}

void writeChangesOf(settings::IniFile& ini, keyer::WsprBeacon& wspr) {
    wspr.accepted.connect([&ini](const keyer::WsprValues& values) {
        ini.write(keys::wsprCall, values.call);
        ini.write(keys::wsprLocator, values.locator);
        ini.write(keys::wsprPower, values.powerDbm);
        ini.write(keys::wsprTxPercent, values.txPercent);
    });
}

SettingsWriter::SettingsWriter(settings::IniFile& ini, const StoredObjects& objects) : ini_(ini) {
    writeChangesOf(ini_, objects.plan);
    writeChangesOf(ini_, objects.options);
    writeChangesOf(ini_, objects.memories);
    writeChangesOf(ini_, objects.tone);
    writeChangesOf(ini_, objects.audioDevice);
    writeChangesOf(ini_, objects.clock);
    writeChangesOf(ini_, objects.logbook);
    writeChangesOf(ini_, objects.port);
    writeChangesOf(ini_, objects.presets);
    writeChangesOf(ini_, objects.messages);
    writeChangesOf(ini_, objects.identification);
    writeChangesOf(ini_, objects.wspr);
    objects.priorityApplied.connect([this](std::int32_t choice) { ini_.write(keys::priority, choice); });
}

} // namespace tarvel::station
