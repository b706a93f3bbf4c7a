#pragma once
// The beacon's alarm on the system clock, to the nanosecond the timer allows: a pass raises PTT as close
// to its frame's start as the machine wakes up, not a rounded millisecond later. It watches the clock for
// steps all the time, also during a pass, so the beacon can plan its frames again.
#include "beacon/Beacon.h"
#include "platform/KernelTimer.h"

#include <chrono>

namespace tarvel::beacon {

class WallClockAlarm : public Alarm {
public:
    WallClockAlarm() {
        timer_.onTimeout = [this] {
            timer_.setEnabled(false);
            if (onTime)
                onTime();
        };
        timer_.watchClockSteps([this](std::chrono::nanoseconds step) {
            if (onClockStep)
                onClockStep(std::chrono::round<std::chrono::milliseconds>(step).count());
        });
    }
    void at(std::int64_t utcMs) override {
        timer_.startAt(platform::WallClockTimer::Clock::time_point(std::chrono::milliseconds(utcMs)));
    }
    void cancel() override { timer_.setEnabled(false); }

private:
    platform::WallClockTimer timer_;
};

} // namespace tarvel::beacon
