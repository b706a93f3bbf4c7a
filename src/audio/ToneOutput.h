#pragma once
// The two-channel reference tone as the operator and the keyer start and stop it, on top of the output
// stream; also its buffer size. Called on the user-interface thread.
#include "audio/OutputStream.h"
#include "audio/ToneSource.h"
#include "platform/MessageSink.h"
#include "platform/Notice.h"
#include "platform/Timer.h"
#include "settings/IniFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel::audio {

// The window's message for a sound device that cannot play; the sound system's reason may follow ": ".
inline constexpr std::string_view kAudioDeviceError = "Ошибка аудиоустройства";

class ToneOutput {
public:
    // The settings are read for the device name at each start; source is asked at each start.
    ToneOutput(OutputStream& stream, synth::ToneChannel& vfoA, synth::ToneChannel& vfoB,
               const settings::IniFile& settings, const ToneSource& source);

    // Tells VFO A's frequency to keep (vfoAKept), checks the device, loads both channels and starts a worker.
    // Does nothing while playing; a refused device name, a missing device or a frequency fault throws before
    // any worker starts.
    void start();
    // Stops the tone (also when it never started) and ends any transmission's hold on it.
    void stop();
    bool playing() const { return stream_.playing(); }
    // While on (the window, once its event loop runs), a sound server's device is opened ahead whenever
    // nothing plays, now and after each stop, so that a start need not wait for the connection; off drops
    // the one held. Off at first: the beacon never holds a device.
    void keepDeviceOpenAhead(bool on);
    // The chosen device changed: the one held ahead is let go, and the chosen one opened ahead anew.
    void deviceChanged();
    // Underruns the sound system recovered from during the latest stream, playing or stopped since; 0
    // before the first. Safe while the worker runs.
    std::int64_t underruns() const { return stream_.underrunCount(); }

    // VFO A at frequency word `word` from the sample the sound card plays at instantNs (CLOCK_MONOTONIC, the
    // keyer timer's clock); continuous: without a phase jump, as the frequency-shift modes move the carrier.
    // From the first such move VFO A follows the moves, not its stored word, until playStoredVfoA(). Ignored
    // while the tone does not play.
    void retuneVfoAAt(std::int64_t word, std::int64_t instantNs, bool continuous);
    // Drops the moves not yet played; VFO A plays its stored word again from the next buffer.
    void playStoredVfoA();
    // Moves that came later than the queued sound allowed, each played from the first sample not yet
    // written; of the latest stream.
    std::int64_t lateRetunes() const { return stream_.lateVfoAMoves(); }
    // Moves the stream had no room for, each lost unheard; of the latest stream.
    std::int64_t lostRetunes() const { return stream_.droppedVfoAMoves(); }
    // Each move handed to the stream, and each drop: for whoever traces them.
    platform::Notice<std::int64_t, std::int64_t, bool> vfoAMoveQueued;
    platform::Notice<> vfoAMovesDropped;

    // A transmission owns the playing tone until it releases it: the operator may not stop it meanwhile.
    void holdForTransmission();
    void releaseFromTransmission();
    // The transmission is over: a tone it started for itself stops; one that already played stays on,
    // and the operator may stop it again.
    void endTransmission(bool toneStartedForIt);
    bool heldForTransmission() const { return held_; }

    // The buffer-size setting in KiB, as typed; a running worker keeps the size it started with.
    void setBufferSetting(int setting);
    // The same, and told as the setting to start with next time (bufferSaved).
    void saveBufferSetting(int setting);

    // At every start that was not already playing, before the device is checked: VFO A's last applied
    // coarse Hz and fine 0.01 Hz, the frequency to come back to.
    platform::Notice<std::int32_t, std::int32_t> vfoAKept;
    // The buffer panel's size in KiB, as the operator closed it.
    platform::Notice<int> bufferSaved;

    // News from a worker that ended on a failure, on the user-interface thread. Only the running stream's
    // own worker counts; a stream stopped or started again since has nothing to report. Whatever needs
    // the tone ends first (onToneLost), the tone stops, and then the failure is raised for the operator
    // with the sound system's reason, once per stream.
    void workerFailed(std::uint64_t worker);
    platform::Notice<> onToneLost;

    // From now on the playing stream is watched on timer, which ticks once a buffer period: a stream that
    // has taken no buffer for three periods in a row (after two seconds of grace for the device to start
    // playing) is lost as a failed worker is, and the failure goes to sink. This catches a worker blocked
    // inside the sound library, which cannot report itself. The timer outlives this object.
    void watchStream(platform::Timer& timer, platform::MessageSink& sink);
    // After every start, stop, hold and release: for whoever shows the state.
    platform::Notice<> onStateChange;

private:
    void changed();
    // The tone is gone: whatever needs it ends, it stops, and the failure is raised.
    [[noreturn]] void lose(const std::string& reason);
    void checkStream();
    void openAhead();

    OutputStream& stream_;
    synth::ToneChannel& vfoA_;
    synth::ToneChannel& vfoB_;
    const settings::IniFile& settings_;
    const ToneSource& source_;
    bool held_ = false;
    bool openAhead_ = false;
    std::string aheadName_; // the device held ahead
    platform::Timer* watchdog_ = nullptr;
    std::int64_t lastTaken_ = 0;
    int quietTicks_ = 0;
    int graceTicks_ = 0;
};

} // namespace tarvel::audio
