#pragma once
// Waking ahead of a deadline: the kernel timer goes off a little before it and the thread spins the rest, so
// the thread's wake-up passes before the deadline, not after it. The lead covers the usual wake-up.
#include <chrono>
#include <type_traits>

namespace tarvel::platform {

// A thread that waits on the timer by itself (poll) is running again some 60-70 µs after the expiry.
inline constexpr std::chrono::microseconds kThreadWakeLead{100};
// Qt's event loop, idle in its own poll, takes about 150 µs from the expiry to the socket notifier's handler,
// and up to twice that now and then.
inline constexpr std::chrono::microseconds kEventLoopWakeLead{300};

// Spins until the clock reads the deadline, which is at most the lead away, and returns that reading. On the
// system clock the spin also ends a little after the lead has passed on the monotonic clock, so a step of
// the clock back meanwhile does not keep it spinning for the size of the step; the reading returned then
// lies before the deadline.
template <typename Clock>
typename Clock::time_point spinUntil(typename Clock::time_point deadline,
                                     [[maybe_unused]] std::chrono::microseconds lead) {
    using Monotonic = std::chrono::steady_clock;
    typename Clock::time_point now;
    if constexpr (std::is_same_v<Clock, Monotonic>) {
        while ((now = Clock::now()) < deadline) {
        }
    } else {
        const auto giveUp = Monotonic::now() + lead + std::chrono::microseconds(20);
        while ((now = Clock::now()) < deadline && Monotonic::now() < giveUp) {
        }
    }
    return now;
}

} // namespace tarvel::platform
