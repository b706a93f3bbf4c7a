#pragma once
// The stereo tone stream: its shared values and the worker thread that keeps two buffers queued on the
// audio device. Called on the user-interface thread; the worker runs on its own thread.
#include "audio/AudioDevice.h"
#include "synth/ToneChannel.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace tarvel::audio {

class OutputStream {
public:
    using DeviceFactory = std::function<std::unique_ptr<AudioDevice>()>;

    static constexpr std::int32_t defaultBufferBytes = 65536;

    // Called on the worker's own thread when a worker ends on a failure, with that worker's number: it may
    // only hand the news over to the user-interface thread.
    using FailureNotice = std::function<void(std::uint64_t worker)>;

    // vfoA plays on the left channel, vfoB on the right; both outlive the stream.
    OutputStream(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB, DeviceFactory factory,
                 FailureNotice notice = {});
    // Shutdown: stops the latest worker and waits until it has ended.
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    // 1 from a successful Start until Stop; kept by the Start and Stop commands.
    std::int32_t playing() const { return playing_; }
    void setPlaying(std::int32_t value) { playing_ = value; }

    // Size of one output buffer in bytes; a worker reads it once, when it starts.
    std::int32_t bufferBytes() const { return bufferBytes_.load(); }
    void setBufferBytes(std::int32_t bytes) { bufferBytes_.store(bytes); }

    // True when the device is there. A stopped worker still ending is waited for first, so that it
    // cannot hold a device that admits one user at a time.
    bool probe();

    // Starts a new worker. A previous worker is stopped if it still runs and always waited for (Stop
    // wakes it, so this is quick): two workers never share the device. Both channels' time is set to 0
    // here, once no worker can be writing it, so callers must not write it themselves.
    void startWorker();

    // Asks the latest worker to end and wakes its wait; does not wait for it.
    void requestStop();

    // requestStop(), then waits until the latest worker has ended.
    void stopAndWait();

    // The latest worker could not open the device, could not get its memory, or lost the device.
    bool workerFailed() const { return workerFailed_.load(); }
    // Why it failed, in the sound system's words; empty while it has not.
    std::string failureReason() const;
    // The number of the latest worker, counted from 1 by each start; 0 before the first.
    std::uint64_t latestWorker() const { return workers_; }
    // Buffers the latest worker has handed to the device.
    std::int64_t buffersSubmitted() const { return buffersSubmitted_.load(); }
    // Underruns the latest worker's device recovered from.
    std::int64_t underrunCount() const;

private:
    void run(std::stop_token stop, AudioDevice& device, std::uint64_t worker);
    void fail(std::uint64_t worker, std::string reason);

    synth::ToneChannel& vfoA_;
    synth::ToneChannel& vfoB_;
    DeviceFactory factory_;
    std::int32_t playing_ = 0;
    std::atomic<std::int32_t> bufferBytes_{defaultBufferBytes};
    std::atomic<bool> workerFailed_{false};
    std::atomic<std::int64_t> buffersSubmitted_{0};
    FailureNotice notice_;
    std::uint64_t workers_ = 0;
    mutable std::mutex failureMutex_;
    std::string failureReason_;
    // Declared before the worker so that it outlives the thread that uses it.
    std::unique_ptr<AudioDevice> device_;
    std::jthread worker_;
};

} // namespace tarvel::audio
