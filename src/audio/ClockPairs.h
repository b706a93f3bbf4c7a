#pragma once
// The sound card's clock against the system clock: pairs of (frames the device has played, the
// CLOCK_MONOTONIC instant they were played at), taken by the audio worker and read by the user-interface
// thread through a fixed ring that neither blocks nor allocates.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tarvel::audio {

struct ClockPair {
    std::int64_t frames = 0;      // frames played since the device was opened
    std::int64_t monotonicNs = 0; // when, on CLOCK_MONOTONIC (NTP disciplines its rate)
    std::uint64_t run = 0;        // the worker that played them: a new worker counts from 0 again
    std::int64_t underruns = 0;   // underruns so far: one shifts the frames against the clock
};

// One writer (the audio worker) and one reader (the user-interface thread). A full ring drops the newest
// pair: the pairs are absolute, so a gap costs precision, never a step.
class ClockPairRing {
public:
    static constexpr std::size_t kCapacity = 4096;

    void push(const ClockPair& pair) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) >= kCapacity) {
            dropped_.fetch_add(1, std::memory_order_relaxed);
            return;
        }
        pairs_[head % kCapacity] = pair;
        head_.store(head + 1, std::memory_order_release);
    }

    // Hands every pair written so far to take(pair), oldest first; returns how many.
    template <typename Take> std::size_t drain(Take&& take) {
        const std::size_t head = head_.load(std::memory_order_acquire);
        std::size_t tail = tail_.load(std::memory_order_relaxed);
        const std::size_t count = head - tail;
        for (; tail != head; ++tail)
            take(pairs_[tail % kCapacity]);
        tail_.store(tail, std::memory_order_release);
        return count;
    }

    std::int64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }

private:
    std::array<ClockPair, kCapacity> pairs_{};
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
    std::atomic<std::int64_t> dropped_{0};
};

} // namespace tarvel::audio
