#pragma once
// The local wall clock (date and time of day) for the log, the clock display and the end-time estimate.
// Called on the user-interface thread.
#include <cstdint>

namespace tarvel::platform {

struct LocalTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// `start` moved on by `milliseconds`, date included: an end past midnight lands on the next day.
LocalTime addMilliseconds(const LocalTime& start, std::int64_t milliseconds);

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

} // namespace tarvel::platform
