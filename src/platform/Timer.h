#pragma once
// A millisecond one-shot-capable timer on the user-interface thread (Qt timer in the program, virtual
// time in tests). It fires repeatedly every interval while enabled, like a form timer; the keyer
// disables it at each step and re-arms it with the next interval.
#include <cstdint>
#include <functional>

namespace tarvel::platform {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    // Enabling, or a new interval while enabled, (re)starts the interval from now; inside the timer's own
    // timeout handler it counts from the deadline that just fired, so a chain of re-arms does not drift.
    // Disabling cancels the pending timeout. An interval below 1 ms means the next opportunity.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    // Instants on the monotonic clock (CLOCK_MONOTONIC, ns), so that what a step schedules is placed from
    // the deadlines and not from when the event loop got round to it. stepInstantNs: inside the timeout
    // handler, the deadline that fired; outside it, the instant the next enabling would count from (now,
    // or the start anchored). pendingDeadlineNs: the pending timeout's, while enabled.
    virtual std::int64_t stepInstantNs() const = 0;
    virtual std::int64_t pendingDeadlineNs() const = 0;
    // Runs on the user-interface thread at each timeout.
    std::function<void()> onTimeout;

    // A timer that waits on a thread of its own can make one action itself, on that thread, the moment the
    // pending deadline comes and before its timeout reaches the user-interface thread: the keyer's next key
    // edge. Re-arming or disabling drops the action, and once disabling has returned it will not run. False
    // when this timer cannot: nothing will run, and the timeout handler does the work as ever.
    virtual bool actAtDeadline(std::function<void()> action) {
        (void)action;
        return false;
    }
    // Start TX: until dropAnchor(), the next enabling outside a timeout handler counts its interval from the
    // moment of this call instead of its own, so that the work between the PTT and the first step delays no
    // edge. Timers without a precise clock ignore it.
    virtual void anchorNextStart() {}
    virtual void dropAnchor() {}
};

} // namespace tarvel::platform
