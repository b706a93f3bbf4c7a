#pragma once
// A sound device that plays nothing: it takes the first two buffers, then waits until the stream is
// stopped. The beacon's dry run plays a transmission through it, so the tone "plays" without a sound card
// and without a worker busy filling buffers nobody hears.
#include "audio/AudioDevice.h"

#include <condition_variable>
#include <mutex>

namespace tarvel::audio {

class SilentAudioDevice : public AudioDevice {
public:
    bool probe() override { return true; }
    bool open(int) override { return true; }
    bool submit(const std::int16_t*, int) override { return true; }
    bool waitForCompletion() override {
        std::unique_lock lock(mutex_);
        if (waits_++ == 0)
            return true;
        woken_.wait(lock, [this] { return wake_; });
        wake_ = false;
        return true;
    }
    void wake() override {
        {
            std::lock_guard lock(mutex_);
            wake_ = true;
        }
        woken_.notify_all();
    }
    void reset() override {}
    void close() override {}
    std::int64_t underrunCount() const override { return 0; }
    std::string failureReason() const override { return {}; }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    int waits_ = 0;
    bool wake_ = false;
};

} // namespace tarvel::audio
