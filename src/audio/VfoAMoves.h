#pragma once
// Moves of VFO A at instants of the monotonic clock, from the user-interface thread to the audio worker: a
// fixed lock-free queue that neither blocks nor allocates, and the worker's map from the samples it writes
// to the instants the device plays them at.
#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tarvel::audio {

// VFO A at frequency word `word` from the sample the device plays at instantNs (CLOCK_MONOTONIC); continuous:
// without a phase jump. generation: the drops made before it was queued (see OutputStream::dropVfoAMoves).
struct VfoAMove {
    std::int64_t word = 0;
    std::int64_t instantNs = 0;
    bool continuous = false;
    std::uint64_t generation = 0;
};

// One writer (the user-interface thread) and one reader (the audio worker).
class VfoAMoveQueue {
public:
    static constexpr std::size_t kCapacity = 512;

    // False when full: the move is not queued.
    bool push(const VfoAMove& move) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) >= kCapacity)
            return false;
        moves_[head % kCapacity] = move;
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

    bool pop(VfoAMove& move) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire))
            return false;
        move = moves_[tail % kCapacity];
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

private:
    std::array<VfoAMove, kCapacity> moves_{};
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

// Which sample of the stream the device plays at a monotonic instant. Each report of the device's position
// gives the instant of the stream's first sample; reports through a sound server scatter by milliseconds,
// so the median of the last few is taken. Worker thread only; no allocation.
class SampleInstants {
public:
    static constexpr int kReports = 9;
    static constexpr int kRate = 44100;

    // Before any report: the stream counts as starting to play at this instant.
    void assumeStart(std::int64_t monotonicNs) { assumed_ = monotonicNs; }

    void note(std::int64_t framesPlayed, std::int64_t monotonicNs) {
        starts_[next_] = monotonicNs - static_cast<std::int64_t>(static_cast<__int128>(framesPlayed) *
                                                                 1'000'000'000 / kRate);
        next_ = (next_ + 1) % kReports;
        count_ = std::min(count_ + 1, kReports);
        std::array<std::int64_t, kReports> sorted = starts_;
        std::nth_element(sorted.begin(), sorted.begin() + count_ / 2, sorted.begin() + count_);
        start_ = sorted[static_cast<std::size_t>(count_ / 2)];
    }

    // The sample played at instantNs, rounded to the nearest (before the first sample: negative).
    std::int64_t sampleAt(std::int64_t instantNs) const {
        const __int128 scaled = (static_cast<__int128>(instantNs) - (count_ > 0 ? start_ : assumed_)) * kRate;
        // Nearest, halves away from zero, for either sign.
        return static_cast<std::int64_t>((scaled >= 0 ? scaled + 500'000'000 : scaled - 500'000'000) /
                                         1'000'000'000);
    }

private:
    std::array<std::int64_t, kReports> starts_{};
    int next_ = 0;
    int count_ = 0;
    std::int64_t start_ = 0;
    std::int64_t assumed_ = 0;
};

} // namespace tarvel::audio
