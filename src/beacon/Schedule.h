#pragma once
// When the beacon's passes start. All times are UTC milliseconds since the epoch, so midnight, a new
// month or a leap year need no special case: a frame of `every` starts where the epoch time is a whole
// multiple of `every`, shifted by `offset`.
#include <cstdint>
#include <string>

namespace tarvel::beacon {

// The first start at or after nowMs: a pass asked for exactly on its frame's start begins at once rather
// than a whole frame later. everyMs > 0, 0 <= offsetMs < everyMs.
std::int64_t nextStart(std::int64_t nowMs, std::int64_t everyMs, std::int64_t offsetMs);

// Empty when a pass of passMs fits in a frame of everyMs (a pass exactly as long as the frame fits: it
// ends as the next one starts); otherwise the message that refuses the schedule.
std::string passTooLong(std::int64_t passMs, std::int64_t everyMs);

} // namespace tarvel::beacon
