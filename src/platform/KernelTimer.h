#pragma once
// A timer on one of the kernel's clocks: a kernel timer (timerfd) armed at absolute nanosecond deadlines
// wakes the user-interface thread's Qt event loop a little ahead, and the loop spins to the deadline itself,
// so its wake-up passes before the deadline; otherwise it behaves as QtTimer does. The unattended beacon
// times the elements of a pass on the monotonic clock, which no setting of the system clock moves, and
// waits for its frames on the system (UTC) clock, which the time service keeps right and may step.
// Created and used on the user-interface thread.
#include "platform/HandlerDeadline.h"
#include "platform/Timer.h"

#include <QSocketNotifier>
#include <chrono>
#include <functional>
#include <type_traits>

namespace tarvel::platform {

template <typename ClockType> class KernelTimer : public Timer {
public:
    using Clock = ClockType;

    // Throws Failure when the kernel timer cannot be created.
    KernelTimer();
    ~KernelTimer() override;
    KernelTimer(const KernelTimer&) = delete;
    KernelTimer& operator=(const KernelTimer&) = delete;

    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    // On the monotonic clock; a system-clock timer's instants are carried over at the present offset.
    std::int64_t stepInstantNs() const override;
    std::int64_t pendingDeadlineNs() const override;

    // Enabled, with the first timeout at an absolute time of the clock (at once when it has passed); later
    // timeouts follow every interval after it, as after any enabling.
    void startAt(typename Clock::time_point deadline);
    // Of the pending timeout.
    typename Clock::time_point deadline() const { return deadline_; }

    // The system clock only: from now on, also while disabled, onStep runs after each step of the clock
    // (set by hand, by the time service, or a leap second), with the step's size (forward is positive). A
    // timeout that fell due with the step comes after it, unless onStep re-armed or disabled the timer.
    void watchClockSteps(std::function<void(std::chrono::nanoseconds step)> onStep) requires
        std::is_same_v<ClockType, std::chrono::system_clock>;

private:
    void startFrom(typename Clock::time_point base);
    void arm(typename Clock::time_point deadline);
    void disarm();
    void expire();
    void clockStepped();

    int fd_;
    QSocketNotifier notifier_;
    int interval_ = 1000;
    bool enabled_ = false;
    typename Clock::time_point deadline_{};
    HandlerDeadline<typename Clock::time_point> handler_;
    std::function<void(std::chrono::nanoseconds)> onClockStep_;
    std::chrono::nanoseconds systemAheadOfMonotonic_{}; // as of the last step seen
};

extern template class KernelTimer<std::chrono::system_clock>;
extern template class KernelTimer<std::chrono::steady_clock>;

// The frames of the beacon: UTC instants.
using WallClockTimer = KernelTimer<std::chrono::system_clock>;
// Element lengths: CLOCK_MONOTONIC, which steps of the system clock leave alone.
using MonotonicTimer = KernelTimer<std::chrono::steady_clock>;

} // namespace tarvel::platform
