#pragma once
// Waking ahead of a deadline: the kernel timer goes off a little before it and the thread spins the rest,
// so an ordinary thread's wake-up, which takes tens of microseconds, passes before the deadline, not after.
#include <chrono>
#include <type_traits>

namespace tarvel::platform {

inline constexpr std::chrono::microseconds kWakeLead{100};

// Spins until the clock reads the deadline, which is at most the lead away, and returns that reading. On the
// system clock the spin also ends a little after the lead has passed on the monotonic clock, so a step of
// the clock back meanwhile does not keep it spinning for the size of the step; the reading returned then
// lies before the deadline.
template <typename Clock> typename Clock::time_point spinUntil(typename Clock::time_point deadline) {
    using Monotonic = std::chrono::steady_clock;
    typename Clock::time_point now;
    if constexpr (std::is_same_v<Clock, Monotonic>) {
        while ((now = Clock::now()) < deadline) {
        }
    } else {
        const auto giveUp = Monotonic::now() + kWakeLead + std::chrono::microseconds(20);
        while ((now = Clock::now()) < deadline && Monotonic::now() < giveUp) {
        }
    }
    return now;
}

} // namespace tarvel::platform
