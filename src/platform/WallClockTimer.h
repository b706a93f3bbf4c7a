#pragma once
// The unattended beacon's timer: deadlines on the system (UTC) clock, which the time service keeps right,
// so a long pass of keying stays on the minute where a steady-clock timer would drift from it. A kernel
// timer (timerfd) armed at absolute nanosecond deadlines wakes the user-interface thread's Qt event loop;
// otherwise it behaves as QtTimer does. Created and used on the user-interface thread.
#include "platform/HandlerDeadline.h"
#include "platform/Timer.h"

#include <QSocketNotifier>
#include <chrono>
#include <optional>

namespace tarvel::platform {

class WallClockTimer : public Timer {
public:
    using Clock = std::chrono::system_clock;

    // Throws Failure when the kernel timer cannot be created.
    WallClockTimer();
    ~WallClockTimer() override;
    WallClockTimer(const WallClockTimer&) = delete;
    WallClockTimer& operator=(const WallClockTimer&) = delete;

    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }

    // Enabled, with the first timeout at an absolute time of the system clock (at once when it has passed);
    // later timeouts follow every interval after it, as after any enabling.
    void startAt(Clock::time_point deadline);
    // The next enabling or new interval made outside the timeout handler counts from base instead of now
    // (used once): a transmission started from another timer's handler times its first step from the ideal
    // start rather than from the moment the handler ran. startAt discards it.
    void countNextFrom(Clock::time_point base);
    // Of the pending timeout.
    Clock::time_point deadline() const { return deadline_; }

private:
    Clock::time_point base();
    void startFrom(Clock::time_point base);
    void arm(Clock::time_point deadline);
    void disarm();
    void expire();

    int fd_;
    QSocketNotifier notifier_;
    int interval_ = 1000;
    bool enabled_ = false;
    Clock::time_point deadline_{};
    std::optional<Clock::time_point> countFrom_;
    HandlerDeadline<Clock::time_point> handler_;
};

} // namespace tarvel::platform
