#pragma once
// The station as the unattended beacon runs it: the frequency plan, the tone, the port, the activity log and
// the transmission, set up from the window's settings file as the window's start-up leaves them, so a pass
// sends the same samples, edges and log lines as the window would. The settings file is only read: the
// window may be open on it meanwhile, and no settings writer follows these objects. No window and no Qt
// Widgets.
#include "audio/AudioDevice.h"
#include "audio/OutputStream.h"
#include "audio/ToneOutput.h"
#include "freqplan/FrequencyPlan.h"
#include "keyer/BeaconMessages.h"
#include "keyer/ControlLines.h"
#include "keyer/CustomMode.h"
#include "keyer/Port.h"
#include "keyer/Transmission.h"
#include "log/ActivityLog.h"
#include "log/Logbook.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/Timer.h"
#include "settings/IniFile.h"
#include "synth/ToneChannel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarvel::beacon {

struct StationDevices {
    keyer::ControlLines& lines;
    platform::Timer& keyerTimer;
    const platform::Clock& clock; // local time, for the log and the estimate
    platform::MessageSink& sink;
    std::function<std::unique_ptr<audio::AudioDevice>(const std::string& pcm)> makeAudioDevice;
    // Called on the audio worker's thread when it ends on a failure: it may only pass the news on.
    audio::OutputStream::FailureNotice workerFailed;
    std::string settingsPath;
    std::string logPath = "vfolog.txt";
};

// Values of the settings file that the window would not take as they stand (it would pull them into its
// controls' ranges), so the beacon would send on another frequency than the window shows.
struct SettingsProblem {
    std::string message; // empty: none
};

class Station {
public:
    explicit Station(StationDevices devices);
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Reads every setting the transmission uses, in the window's start-up order and with its rules, and
    // retunes both VFOs. Returns why the stored frequencies cannot be used, or an empty message.
    SettingsProblem restore();

    // Why the restored settings give no reference a transmitter could use, or an empty text: a correction
    // that is no finite positive number, VFO A's waveform off, its tone (also where the mode's DFCW shift
    // moves it) at or above half the sample rate, or a port choice that names no port. After chooseMode.
    std::string unusableReference();

    // The keying mode: a preset row of keyer::Presets, or keyer::Presets::kNoRow for the stored custom mode.
    void chooseMode(int presetRow);
    // Whether the stored identifications are sent around each pass.
    void sendIdentification(bool atStart, bool atEnd);
    // The stored priority applied (the window applies it at start-up too), through apply.
    std::int32_t priorityChoice() const { return priorityChoice_; }

    // The activity log as the window's start-up leaves it: the file exists, with the header line when logging
    // is on.
    void startLog();
    // Opens the chosen port; throws platform::Failure("Unable to open <port>").
    void openPort();
    // The same end as the window's: a transmission on the air ends as Stop TX ends it, the tone stops and
    // its worker is waited for (a stalled one within a bound, then left behind and reported through the
    // sink), and the port is let go with both lines low.
    void shutDown();

    platform::MessageSink& sink() { return devices_.sink; }
    settings::IniFile& settings() { return ini_; }
    freqplan::FrequencyPlan& plan() { return plan_; }
    audio::OutputStream& stream() { return stream_; }
    audio::ToneOutput& tone() { return tone_; }
    keyer::Port& port() { return port_; }
    keyer::BeaconMessages& messages() { return messages_; }
    log::Logbook& logbook() { return logbook_; }
    keyer::Transmission& transmission() { return transmission_; }

private:
    StationDevices devices_;
    settings::IniFile ini_;
    synth::ToneChannel vfoA_;
    synth::ToneChannel vfoB_;
    audio::OutputStream stream_;
    freqplan::FrequencyPlan plan_;
    audio::ToneOutput tone_;
    log::ActivityLog activityLog_;
    log::Logbook logbook_;
    keyer::Port port_;
    keyer::BeaconMessages messages_;
    keyer::Transmission transmission_;
    keyer::CustomMode customMode_;
    std::int32_t priorityChoice_ = 3;
};

} // namespace tarvel::beacon
