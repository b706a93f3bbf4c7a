#pragma once
// The one writer of the settings file: it follows the core objects' change notices and writes each value
// under its key, at the moment the object tells it. The core objects themselves never write the file, so a
// front end that must leave it alone (the unattended beacon) simply connects no writer.
#include "audio/AudioDeviceChoice.h"
#include "audio/ClockMeasurement.h"
#include "audio/ToneOutput.h"
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Memories.h"
#include "freqplan/Options.h"
#include "keyer/BeaconMessages.h"
#include "keyer/Identification.h"
#include "keyer/Port.h"
#include "keyer/Presets.h"
#include "keyer/WsprBeacon.h"
#include "log/Logbook.h"
#include "platform/Notice.h"
#include "settings/IniFile.h"

#include <cstdint>

namespace tarvel::station {

// Each connects the writer to one object's notices, for a front end or a test that holds only some of
// the objects. A write the system refuses throws out of the object's operation, as the notice raised it.
void writeChangesOf(settings::IniFile& ini, freqplan::FrequencyPlan& plan);
void writeChangesOf(settings::IniFile& ini, freqplan::Options& options);
void writeChangesOf(settings::IniFile& ini, freqplan::Memories& memories);
void writeChangesOf(settings::IniFile& ini, audio::ToneOutput& tone);
void writeChangesOf(settings::IniFile& ini, audio::AudioDeviceChoice& audioDevice);
void writeChangesOf(settings::IniFile& ini, audio::ClockMeasurement& clock);
void writeChangesOf(settings::IniFile& ini, log::Logbook& logbook);
void writeChangesOf(settings::IniFile& ini, keyer::Port& port);
void writeChangesOf(settings::IniFile& ini, keyer::Presets& presets);
void writeChangesOf(settings::IniFile& ini, keyer::BeaconMessages& messages);
void writeChangesOf(settings::IniFile& ini, keyer::Identification& identification);
void writeChangesOf(settings::IniFile& ini, keyer::WsprBeacon& wspr);

// Everything the window stores.
struct StoredObjects {
    freqplan::FrequencyPlan& plan;
    freqplan::Options& options;
    freqplan::Memories& memories;
    audio::ToneOutput& tone;
    audio::AudioDeviceChoice& audioDevice;
    audio::ClockMeasurement& clock;
    log::Logbook& logbook;
    keyer::Port& port;
    keyer::Presets& presets;
    keyer::BeaconMessages& messages;
    keyer::Identification& identification;
    // The process priority the operator applied (platform::ProcessPriority's numbers).
    platform::Notice<std::int32_t>& priorityApplied;
    keyer::WsprBeacon& wspr;
};

class SettingsWriter {
public:
    // Connects to every notice of objects; the file and the objects outlive the writer's connections.
    SettingsWriter(settings::IniFile& ini, const StoredObjects& objects);
    SettingsWriter(const SettingsWriter&) = delete;
    SettingsWriter& operator=(const SettingsWriter&) = delete;

private:
    settings::IniFile& ini_;
};

} // namespace tarvel::station
