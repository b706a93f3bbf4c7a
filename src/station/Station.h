#pragma once
// The station both front ends run: the two tone channels, the settings file, the tone output, the
// frequency plan with its options and memories, the activity log, the port and the keyer. The window binds
// its panels to these objects; the beacon sends its passes through them. No window and no Qt Widgets.
#include "audio/AudioDevice.h"
#include "audio/AudioDeviceChoice.h"
#include "audio/ClockMeasurement.h"
#include "audio/OutputStream.h"
#include "audio/ToneOutput.h"
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Memories.h"
#include "freqplan/Options.h"
#include "keyer/BeaconMessages.h"
#include "keyer/ControlLines.h"
#include "keyer/Port.h"
#include "keyer/Presets.h"
#include "keyer/Transmission.h"
#include "log/ActivityLog.h"
#include "log/Logbook.h"
#include "platform/Clock.h"
#include "platform/DeviceList.h"
#include "platform/MessageSink.h"
#include "platform/Timer.h"
#include "settings/IniFile.h"
#include "station/StoredSettings.h"
#include "synth/ToneChannel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarvel::station {

// Everything the station reaches outside the process: real devices in the program, recording doubles and
// virtual time in tests.
struct Devices {
    keyer::ControlLines& lines;
    platform::Timer& keyerTimer;
    // The clock display's and the log's day-change tick; the front end enables it.
    platform::Timer& clockTimer;
    const platform::Clock& clock; // local time, for the log and the estimate
    platform::MessageSink& sink;
    // A fresh audio device on the named PCM (the "AudioDevice" setting, "default" when absent).
    std::function<std::unique_ptr<audio::AudioDevice>(const std::string& pcm)> makeAudioDevice;
    // The PCMs that can play, offered where the operator chooses one.
    const platform::DeviceList& outputPcms;
    std::string settingsPath;
    // The window writes the file; the beacon only reads it, as the window may be open on it meanwhile.
    settings::IniFile::Access access = settings::IniFile::Access::ReadWrite;
    std::string logPath = "vfolog.txt";
};

// No device to choose from, for a front end that offers no choice.
class NoDeviceList final : public platform::DeviceList {
public:
    std::vector<platform::DeviceChoice> present() const override { return {}; }
};

class Station {
public:
    explicit Station(Devices devices);
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Reads the settings file once and hands the values to the core objects: factors, memories, tuning
    // range, port, messages, buffer size, custom mode, logging switch, identification and priority choice;
    // the keying as no mode is chosen yet. VFO A's and VFO B's frequencies and waveforms are left to the
    // front end, which tunes them by its own rules from stored().
    const StoredSettings& load();
    const StoredSettings& stored() const { return stored_; }
    // The stored priority (1 real time, 2 high, 3 normal), for the front end to apply.
    std::int32_t priorityChoice() const { return stored_.priority; }

    // A transmission on the air ends as Stop TX ends it; a failure goes to the sink.
    void stopTransmission();
    // The end of the run, on every way out: the transmission ends as Stop TX ends it, the tone stops and
    // its worker is waited for (a stalled one within a bound, then left behind and reported through the
    // sink), and the port is let go with both lines low. Safe to run more than once.
    void shutDown();

    platform::MessageSink& sink() { return devices_.sink; }
    settings::IniFile& settings() { return ini_; }
    const synth::ToneChannel& vfoA() const { return vfoA_; }
    const synth::ToneChannel& vfoB() const { return vfoB_; }
    audio::OutputStream& stream() { return stream_; }
    audio::ToneOutput& tone() { return tone_; }
    freqplan::FrequencyPlan& plan() { return plan_; }
    freqplan::Options& options() { return options_; }
    freqplan::Memories& memories() { return memories_; }
    log::ActivityLog& activityLog() { return activityLog_; }
    log::Logbook& logbook() { return logbook_; }
    keyer::Port& port() { return port_; }
    keyer::BeaconMessages& messages() { return messages_; }
    keyer::Transmission& transmission() { return transmission_; }
    keyer::BeaconClock& beaconClock() { return beaconClock_; }
    keyer::Presets& presets() { return presets_; }
    audio::AudioDeviceChoice& audioDevice() { return audioDevice_; }
    audio::ClockMeasurement& clockMeasurement() { return clockMeasurement_; }

private:
    // From the audio worker's thread: the news goes to the event loop, where the tone is lost.
    void postWorkerFailure(std::uint64_t worker);

    Devices devices_;
    settings::IniFile ini_;
    synth::ToneChannel vfoA_;
    synth::ToneChannel vfoB_;
    audio::OutputStream stream_;
    freqplan::FrequencyPlan plan_;
    audio::ToneOutput tone_;
    freqplan::Options options_;
    freqplan::Memories memories_;
    log::ActivityLog activityLog_;
    log::Logbook logbook_;
    keyer::Port port_;
    keyer::BeaconMessages messages_;
    keyer::Transmission transmission_;
    keyer::BeaconClock beaconClock_;
    keyer::Presets presets_;
    audio::AudioDeviceChoice audioDevice_;
    audio::ClockMeasurement clockMeasurement_;
    StoredSettings stored_;
    // Tasks posted to the event loop check it, so that one arriving after the end does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace tarvel::station
