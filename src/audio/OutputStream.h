#pragma once
// The stereo tone stream: its shared values and the worker thread that keeps two buffers queued on the
// audio device. Called on the user-interface thread; the worker runs on its own thread.
#include "audio/AudioDevice.h"
#include "audio/ClockPairs.h"
#include "audio/VfoAMoves.h"
#include "synth/ToneChannel.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>

namespace tarvel::audio {

class OutputStream {
public:
    using DeviceFactory = std::function<std::unique_ptr<AudioDevice>()>;

    static constexpr std::int32_t defaultBufferBytes = 65536;
    // How long the user-interface thread waits for a worker to end, or for a probe to answer, before it
    // goes on without it: a stalled sound server can block a call into the sound library for good.
    static constexpr std::chrono::milliseconds defaultWaitLimit{2000};

    // Called on the worker's own thread when a worker ends on a failure, with that worker's number: it may
    // only hand the news over to the user-interface thread. It comes before the device is let go, since
    // letting go of a stalled device may never return.
    using FailureNotice = std::function<void(std::uint64_t worker)>;

    // vfoA plays on the left channel, vfoB on the right; both outlive the stream.
    OutputStream(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB, DeviceFactory factory,
                 FailureNotice notice = {});
    // Shutdown: stops the latest worker and waits for it, within the wait limit.
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    // From a successful Start until Stop; kept by the Start and Stop commands.
    bool playing() const { return playing_; }
    void setPlaying(bool playing) { playing_ = playing; }

    // Size of one output buffer in bytes; a worker reads it once, when it starts.
    std::int32_t bufferBytes() const { return bufferBytes_.load(); }
    void setBufferBytes(std::int32_t bytes) { bufferBytes_.store(bytes); }

    // True when the device is there. A stopped worker still ending is waited for first, so that it
    // cannot hold a device that admits one user at a time. False also when the device does not answer
    // within the wait limit (probeUnanswered()). A device found there stays open for the next
    // startWorker(), which plays on it; a probe that is not followed by one is dropped with dropProbed(),
    // by the next probe, or at shutdown.
    bool probe();
    // Lets go of the device the last probe found and opened, when no worker was started on it.
    void dropProbed();
    // While nothing plays, opens the device ahead on a thread of its own, without waiting for it: the next
    // probe takes it over instead of opening it again. Only a sound server's device is held this way; a
    // sound card is let go at once, as other programs could not use it meanwhile. False when nothing was
    // begun (playing, or a device already held or probed).
    bool openAhead();
    // A device opened ahead is held (or still being opened) for the next probe.
    bool heldAhead() const { return probed_ && probedAhead_; }
    // The last probe gave up waiting for the device.
    bool probeUnanswered() const { return probeUnanswered_; }

    // Starts a new worker. A previous worker is stopped if it still runs and always waited for (Stop
    // wakes it, so this is quick): two workers never share the device, unless the previous one did not
    // end within the wait limit and was left behind. Both channels' time is set to 0 here, once no
    // worker can be writing it, so callers must not write it themselves.
    void startWorker();

    // Asks the latest worker to end and wakes its wait; does not wait for it.
    void requestStop();

    // requestStop(), then waits until the latest worker has ended, within the wait limit. False when it
    // did not end in time: it is left behind with its device, and touches nothing of the stream again.
    bool stopAndWait();

    // The latest worker could not open the device, could not get its memory, or lost the device.
    bool workerFailed() const;
    // Why it failed, in the sound system's words; empty while it has not.
    std::string failureReason() const;
    // The number of the latest worker, counted from 1 by each start; 0 before the first.
    std::uint64_t latestWorker() const { return workers_; }
    // Buffers the latest worker has handed to the device.
    std::int64_t buffersSubmitted() const;
    // Underruns the latest worker's device recovered from.
    std::int64_t underrunCount() const;
    // Hands the latest worker's clock pairs taken since the last call to take(pair), oldest first; a few
    // per buffer while it plays. One reader only: the user-interface thread.
    template <typename Take> std::size_t takeClockPairs(Take&& take) {
        ClockPairRing* ring = clockPairs();
        return ring ? ring->drain(std::forward<Take>(take)) : 0;
    }

    // VFO A to word from the sample the device plays at instantNs (CLOCK_MONOTONIC), continuous: without a
    // phase jump. The latest worker places it by the positions the device reports; from its first move on,
    // VFO A follows the moves and not the stored word, until dropVfoAMoves() or, after a move that is not
    // continuous, a stored word that no recent or waiting move brings (the operator's retune, played from
    // the next buffer with the waiting moves dropped). False when no worker runs or 512 moves wait already
    // (counted: droppedVfoAMoves()). A stream stopped or started again drops what was queued.
    bool queueVfoAMove(std::int64_t word, std::int64_t instantNs, bool continuous);
    // Drops the moves still waiting; from the next buffer the worker plays VFO A's stored word again.
    void dropVfoAMoves();
    // Moves of the latest worker that came too late for their instant: each played from the first sample
    // not yet written instead. Safe while the worker runs.
    std::int64_t lateVfoAMoves() const;
    // Moves the latest worker never got because its queue was full: each is not heard at all.
    std::int64_t droppedVfoAMoves() const;

    std::chrono::milliseconds waitLimit() const { return waitLimit_; }
    // For tests: a shorter wait limit.
    void setWaitLimit(std::chrono::milliseconds limit) { waitLimit_ = limit; }
    // What the operator is told when stopAndWait() left the worker behind at the end of the run.
    std::string leftBehindNotice() const;
    // Some stream of this process left a worker or a probe behind, blocked in the sound library: the
    // process should end without running its static destructors under that thread's feet.
    static bool anyLeftBehind() { return anyLeftBehind_.load(); }

private:
    struct Worker;

    void run(const std::shared_ptr<Worker>& worker, std::int32_t bytes);
    // A probe's worker: opens the device, answers, and plays once started.
    void runProbed(const std::shared_ptr<Worker>& worker);
    // Whether the worker a probe started found the device; false also when it was left behind unanswered.
    bool awaitAnswer(const std::shared_ptr<Worker>& worker, std::thread& thread);
    // Marks the worker failed and passes the news on, unless the stream has left it behind.
    void report(Worker& worker, std::string reason);
    // The worker's last touch of the stream: the channels' time back to 0, then "ended".
    void finish(Worker& worker);
    bool waitForWorker();
    ClockPairRing* clockPairs();

    synth::ToneChannel& vfoA_;
    synth::ToneChannel& vfoB_;
    DeviceFactory factory_;
    bool playing_ = false;
    std::atomic<std::int32_t> bufferBytes_{defaultBufferBytes};
    FailureNotice notice_;
    std::uint64_t workers_ = 0;
    std::uint64_t moveDrops_ = 0; // the generation of the moves queued from now on
    std::chrono::milliseconds waitLimit_ = defaultWaitLimit;
    bool probeUnanswered_ = false;
    bool probedAhead_ = false; // probed_ was opened ahead, not by a probe
    // The latest worker's state and device, shared with its thread so that a worker left behind keeps
    // what it uses.
    std::shared_ptr<Worker> worker_;
    std::thread thread_;
    // The worker of a probe that found the device, until a start plays on it.
    std::shared_ptr<Worker> probed_;
    std::thread probedThread_;
    static std::atomic<bool> anyLeftBehind_;
};

} // namespace tarvel::audio
