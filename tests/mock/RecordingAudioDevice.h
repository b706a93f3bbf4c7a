#pragma once
// An audio device that records what the worker submits and plays buffers only when the test says so
// (or at once, in auto-play). Every device made for one AudioRecord reports into it.
#include "audio/AudioDevice.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarvel::mock {

struct AudioRecord {
    // Set by the test before the worker starts.
    bool probeFails = false;
    bool soundServer = false; // the devices are a sound server's, which may be held open ahead
    int probes = 0;
    bool failOpen = false;
    bool autoPlay = false;     // a wait with both buffers queued plays the older one itself
    bool holdOpen = false;     // open() blocks until the test calls releaseOpen()
    int failAfterSubmits = -1; // the wait after that many submits reports a lost device; -1: never
    // A stalled sound server: probe, wait, reset and close of the devices numbered up to this one (from 1,
    // as made) block, deaf to wake().
    int stalledThrough = 0;
    int devicesMade = 0;
    std::chrono::milliseconds closeDelay{0};
    std::atomic<std::int64_t> underruns{0}; // what every device reports; the test may change it any time
    static constexpr int capacity = 2;
    // A sample clock: when on, each device reports one more buffer played per wait, at the instant a
    // clock running clockPpm fast plays it, stamped with up to jitterNs of error either way; the wait
    // numbered underrunAtWait (from 1) counts an underrun and the time it lost, underrunGapNs.
    bool sampleClock = false;
    double clockPpm = 0.0;
    std::int64_t jitterNs = 0;
    int underrunAtWait = -1;
    std::int64_t underrunGapNs = 0;

    // Written by the devices, read by the test under the mutex (or after the worker has ended).
    std::vector<std::string> events; // "open", "submit", "wait", "reset", "close", each per device call
    std::vector<std::vector<std::int16_t>> submits;
    int framesPerBuffer = 0;
    int queued = 0;
    int maxQueued = 0;
    int waiting = 0;
    int openNow = 0;
    int maxOpenAtOnce = 0;

    mutable std::mutex mutex;
    std::condition_variable changed;

    // Returns true when pred held within the time-out; pred runs under the mutex.
    bool waitUntil(const std::function<bool()>& pred,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, pred);
    }
    // The device finishes playing its oldest queued buffer.
    void play() {
        std::lock_guard lock(mutex);
        if (queued > 0)
            --queued;
        changed.notify_all();
    }
    // The devices made so far (also later ones, with laterToo) stall until resume().
    void stall(bool laterToo = false) {
        std::lock_guard lock(mutex);
        stalledThrough = laterToo ? INT_MAX : devicesMade;
    }
    void resume() {
        std::lock_guard lock(mutex);
        stalledThrough = 0;
        changed.notify_all();
    }
    void releaseOpen() {
        std::lock_guard lock(mutex);
        holdOpen = false;
        changed.notify_all();
    }
    std::size_t submitCount() const {
        std::lock_guard lock(mutex);
        return submits.size();
    }
    int count(const std::string& event) const {
        std::lock_guard lock(mutex);
        int n = 0;
        for (const auto& e : events)
            n += e == event;
        return n;
    }
};

class RecordingAudioDevice : public audio::AudioDevice {
public:
    explicit RecordingAudioDevice(std::shared_ptr<AudioRecord> record) : record_(std::move(record)) {
        std::lock_guard lock(record_->mutex);
        number_ = ++record_->devicesMade;
    }

    static std::function<std::unique_ptr<audio::AudioDevice>()> factory(std::shared_ptr<AudioRecord> record) {
        return [record] { return std::make_unique<RecordingAudioDevice>(record); };
    }

    bool probe() override {
        std::unique_lock lock(record_->mutex);
        record_->changed.wait(lock, [&] { return !stalled(); });
        ++record_->probes;
        record_->changed.notify_all();
        return !record_->probeFails;
    }
    bool servedBySoundServer() const override { return record_->soundServer; }
    bool open(int framesPerBuffer) override {
        std::unique_lock lock(record_->mutex);
        record_->events.push_back("open");
        record_->changed.notify_all();
        record_->changed.wait(lock, [&] { return !record_->holdOpen; });
        if (record_->failOpen) {
            reason_ = "test device: Device or resource busy";
            return false;
        }
        record_->framesPerBuffer = framesPerBuffer;
        record_->queued = 0;
        record_->maxOpenAtOnce = std::max(record_->maxOpenAtOnce, ++record_->openNow);
        return true;
    }
    bool submit(const std::int16_t* interleaved, int frames) override {
        std::lock_guard lock(record_->mutex);
        record_->events.push_back("submit");
        record_->submits.emplace_back(interleaved, interleaved + 2 * static_cast<std::size_t>(frames));
        record_->maxQueued = std::max(record_->maxQueued, ++record_->queued);
        record_->changed.notify_all();
        return true;
    }
    bool waitForCompletion() override {
        std::unique_lock lock(record_->mutex);
        record_->events.push_back("wait");
        if (record_->autoPlay && record_->queued >= AudioRecord::capacity)
            --record_->queued;
        ++record_->waiting;
        record_->changed.notify_all();
        if (record_->failAfterSubmits >= 0 &&
            record_->submits.size() >= static_cast<std::size_t>(record_->failAfterSubmits)) {
            --record_->waiting;
            reason_ = "test device: No such device";
            return false;
        }
        record_->changed.wait(
            lock, [&] { return !stalled() && (record_->queued < AudioRecord::capacity || woken_); });
        --record_->waiting;
        if (record_->queued >= AudioRecord::capacity)
            woken_ = false;
        if (++waits_ == record_->underrunAtWait) {
            ++record_->underruns;
            lostNs_ += record_->underrunGapNs;
        }
        return true;
    }
    void wake() override {
        std::lock_guard lock(record_->mutex);
        woken_ = true;
        record_->changed.notify_all();
    }
    void reset() override {
        std::unique_lock lock(record_->mutex);
        record_->changed.wait(lock, [&] { return !stalled(); });
        record_->events.push_back("reset");
        record_->queued = 0;
    }
    void close() override {
        std::this_thread::sleep_for(record_->closeDelay);
        std::unique_lock lock(record_->mutex);
        record_->changed.wait(lock, [&] { return !stalled(); });
        record_->events.push_back("close");
        --record_->openNow;
        record_->changed.notify_all();
    }
    std::int64_t underrunCount() const override { return record_->underruns.load(); }
    std::string failureReason() const override { return reason_; }
    bool playedPosition(PlayedPosition& position) override {
        std::lock_guard lock(record_->mutex);
        if (!record_->sampleClock || waits_ == 0)
            return false;
        position.frames = static_cast<std::int64_t>(waits_) * record_->framesPerBuffer;
        const double seconds =
            static_cast<double>(position.frames) / (44100.0 * (1.0 + record_->clockPpm * 1e-6));
        jitter_ = jitter_ * 6364136223846793005ULL + 1442695040888963407ULL; // a fixed pseudo-random sequence
        const double spread =
            static_cast<double>(jitter_ >> 11) / static_cast<double>(1ULL << 53) * 2.0 - 1.0;
        position.monotonicNs = 1'000'000'000'000 + static_cast<std::int64_t>(seconds * 1e9) + lostNs_ +
                               static_cast<std::int64_t>(spread * static_cast<double>(record_->jitterNs));
        return true;
    }

private:
    bool stalled() const { return number_ <= record_->stalledThrough; } // under the record's mutex

    std::shared_ptr<AudioRecord> record_;
    int number_ = 0;
    bool woken_ = false; // guarded by the record's mutex
    int waits_ = 0;
    std::int64_t lostNs_ = 0;
    std::uint64_t jitter_ = 1;
    std::string reason_; // the worker's own
};

} // namespace tarvel::mock
