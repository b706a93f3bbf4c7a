#pragma once
// A millisecond one-shot-capable timer on the user-interface thread (Qt timer in the program, virtual
// time in tests). It fires repeatedly every interval while enabled, like a form timer; the keyer
// disables it at each step and re-arms it with the next interval.
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
    // Runs on the user-interface thread at each timeout.
    std::function<void()> onTimeout;
};

} // namespace tarvel::platform
