#pragma once
// The two-channel reference tone as the operator and the keyer start and stop it, on top of the output
// stream; also its buffer size. Called on the user-interface thread.
#include "audio/OutputStream.h"
#include "platform/MessageSink.h"
#include "platform/Timer.h"
#include "settings/IniFile.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace tarvel::audio {

// The window's message for a sound device that cannot play; the sound system's reason may follow ": ".
inline constexpr std::string_view kAudioDeviceError = "Ошибка аудиоустройства";

// What one channel plays from the next start on.
struct ChannelValues {
    std::int64_t word = 0; // tone frequency in 1/4096 Hz
    std::int32_t waveform = 0;
    std::int32_t level = 0;
};

// What start() takes from the frequency plan and the channel settings at the moment it runs.
struct ToneSource {
    // VFO A's last applied coarse and fine values, stored as the frequency to come back to.
    std::function<std::int32_t()> lastCoarse;
    std::function<std::int32_t()> lastFine;
    // Each may throw the frequency-word failures; VFO B is asked first.
    std::function<ChannelValues()> vfoA;
    std::function<ChannelValues()> vfoB;
};

class ToneOutput {
public:
    ToneOutput(OutputStream& stream, synth::ToneChannel& vfoA, synth::ToneChannel& vfoB,
               settings::IniFile& settings, ToneSource source);

    // Stores VFO A's frequency, checks the device, loads both channels and starts a worker. Does nothing
    // while playing; a refused device name, a missing device or a frequency fault throws before any
    // worker starts.
    void start();
    // Stops the tone (also when it never started) and ends any transmission's hold on it.
    void stop();
    bool playing() const { return stream_.playing() == 1; }
    // Underruns the sound system recovered from during the latest stream, playing or stopped since; 0
    // before the first. Safe while the worker runs.
    std::int64_t underruns() const { return stream_.underrunCount(); }

    // A transmission owns the playing tone until it releases it: the operator may not stop it meanwhile.
    void holdForTransmission();
    void releaseFromTransmission();
    // The transmission is over: a tone it started for itself stops; one that already played stays on,
    // and the operator may stop it again.
    void endTransmission(bool toneStartedForIt);
    bool heldForTransmission() const { return held_; }

    // The buffer-size setting in KiB, as typed; a running worker keeps the size it started with.
    void setBufferSetting(int setting);
    // The same, and stored as the setting to start with next time.
    void saveBufferSetting(int setting);

    // News from a worker that ended on a failure, on the user-interface thread. Only the running stream's
    // own worker counts; a stream stopped or started again since has nothing to report. Whatever needs
    // the tone ends first (onToneLost), the tone stops, and then the failure is raised for the operator
    // with the sound system's reason, once per stream.
    void workerFailed(std::uint64_t worker);
    std::function<void()> onToneLost;

    // From now on the playing stream is watched on timer, which ticks once a buffer period: a stream that
    // has taken no buffer for three periods in a row (after two seconds of grace for the device to start
    // playing) is lost as a failed worker is, and the failure goes to sink. This catches a worker blocked
    // inside the sound library, which cannot report itself. The timer outlives this object.
    void watchStream(platform::Timer& timer, platform::MessageSink& sink);
    // After every start, stop, hold and release: for whoever shows the state.
    std::function<void()> onStateChange;

private:
    void changed();
    // The tone is gone: whatever needs it ends, it stops, and the failure is raised.
    [[noreturn]] void lose(const std::string& reason);
    void checkStream();

    OutputStream& stream_;
    synth::ToneChannel& vfoA_;
    synth::ToneChannel& vfoB_;
    settings::IniFile& settings_;
    ToneSource source_;
    bool held_ = false;
    platform::Timer* watchdog_ = nullptr;
    std::int64_t lastTaken_ = 0;
    int quietTicks_ = 0;
    int graceTicks_ = 0;
};

} // namespace tarvel::audio
