#pragma once
// Virtual time: a clock that only moves when its owner advances it, and timers that fire in deadline order
// as it does. Scenario tests run on it, and the beacon's dry run plays a transmission through it.
#include "platform/Clock.h"
#include "platform/Timer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tarvel::platform {

class VirtualTime;

class VirtualTimer : public Timer {
public:
    explicit VirtualTimer(VirtualTime& time) : time_(&time) {}
    ~VirtualTimer() override;
    VirtualTimer(const VirtualTimer&) = delete;
    VirtualTimer& operator=(const VirtualTimer&) = delete;
    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    std::int64_t deadline() const { return deadline_; }
    // Virtual milliseconds as nanoseconds: while a timeout runs, time stands at its deadline.
    std::int64_t stepInstantNs() const override;
    std::int64_t pendingDeadlineNs() const override { return deadline_ * 1'000'000; }

    // As a timer with a waiting thread of its own: actions handed over run at the deadline, just before the
    // timeout. Off unless set.
    bool actsAtDeadline = false;
    int actionsRun = 0;
    bool actAtDeadline(std::function<void()> action) override;

private:
    std::function<void()> action_;
    friend class VirtualTime;
    VirtualTime* time_; // null once the time has gone
    int interval_ = 1000;
    bool enabled_ = false;
    std::int64_t deadline_ = 0;
};

class VirtualTime : public Clock {
public:
    // start: the wall-clock reading at virtual millisecond 0.
    explicit VirtualTime(LocalTime start = {2026, 12, 7, 12, 0, 0, 0});
    ~VirtualTime() override;
    VirtualTime(const VirtualTime&) = delete;
    VirtualTime& operator=(const VirtualTime&) = delete;

    std::unique_ptr<VirtualTimer> makeTimer();
    std::int64_t nowMs() const { return now_; }
    LocalTime now() const override;

    // Moves time forward by ms, firing every due timer at its deadline, in order.
    void advance(std::int64_t ms);
    // Moves time to the next deadline of any enabled timer and fires it; false when none is armed.
    bool runNext();

private:
    friend class VirtualTimer;
    VirtualTimer* nextDue(std::int64_t limit);
    LocalTime start_;
    std::int64_t now_ = 0;
    std::vector<VirtualTimer*> timers_;
};

} // namespace tarvel::platform
