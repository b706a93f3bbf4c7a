#pragma once
// A sound output device playing 16-bit stereo at 44100 frames per second. Called on the audio worker
// thread, except wake(), which the user-interface thread calls, and underrunCount(), which any thread
// may read.
#include <cstdint>
#include <string>

namespace tarvel::audio {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens the device: true when it is there and can be opened for output. The device stays open for
    // open(), and is let go by close() or with the object.
    virtual bool probe() = 0;
    // After a probe that found it: whether the device is a sound server's (a connection to share), not a
    // sound card that other programs could not use while this one holds it open.
    virtual bool servedBySoundServer() const { return false; }

    // Opens the device for a stream of buffers of framesPerBuffer frames each, taking over the one a
    // probe opened; false when it cannot.
    virtual bool open(int framesPerBuffer) = 0;

    // Queues one buffer of interleaved samples (left, right); the data is the device's to read until
    // the next waitForCompletion() has returned. False when the device failed and the stream must end.
    virtual bool submit(const std::int16_t* interleaved, int frames) = 0;

    // Blocks until the device has room for one more buffer or wake() was called. The first call after
    // open() returns at once, so two buffers are queued before the first wait that blocks. False when
    // the device failed and the stream must end, also when it has taken nothing for three buffer periods
    // (a stalled sound server).
    virtual bool waitForCompletion() = 0;

    // Thread-safe: makes the wait in progress, or the next one, return at once. Meant for ending the
    // stream: a wait cut short this way may leave the tail of the last buffer unplayed.
    virtual void wake() = 0;

    // Drops whatever is queued and stops playing at once.
    virtual void reset() = 0;

    virtual void close() = 0;

    // Underruns recovered from since the device object was made; thread-safe.
    virtual std::int64_t underrunCount() const = 0;

    // Why the last open(), submit() or waitForCompletion() that returned false failed, in the words of
    // the sound system; read on the worker thread right after the failure.
    virtual std::string failureReason() const = 0;

    // Where playing stands: the frames played since open() and the CLOCK_MONOTONIC instant at which that
    // count held, in nanoseconds. Worker thread only; must neither block for long nor allocate. False when
    // the device cannot tell (not playing yet, in an underrun, or a device without a position).
    struct PlayedPosition {
        std::int64_t frames = 0;
        std::int64_t monotonicNs = 0;
    };
    virtual bool playedPosition(PlayedPosition& /*position*/) { return false; }
};

} // namespace tarvel::audio
