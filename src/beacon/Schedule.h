#pragma once
// When the beacon's passes start. All times are UTC milliseconds since the epoch, so midnight, a new
// month or a leap year need no special case: a frame of `every` starts where the epoch time is a whole
// multiple of `every`, shifted by `offset`.
#include "platform/Clock.h"

#include <cstdint>
#include <string>

namespace tarvel::beacon {

// The first start at or after nowMs: a pass asked for exactly on its frame's start begins at once rather
// than a whole frame later. everyMs > 0, 0 <= offsetMs < everyMs.
std::int64_t nextStart(std::int64_t nowMs, std::int64_t everyMs, std::int64_t offsetMs);

// The start of the pass to come, asked for no earlier than notBeforeUtcMs at nowUtcMs: the first frame's
// start from then on (everyMs > 0), or then. A pass that ends a little after its successor's frame began
// (the last step runs late by the wake-up latency when a pass fills its frame) still starts in that frame
// rather than skipping it.
std::int64_t passStart(std::int64_t notBeforeUtcMs, std::int64_t nowUtcMs, std::int64_t everyMs,
                       std::int64_t offsetMs);

// Empty when a pass of passMs fits in a frame of everyMs (a pass exactly as long as the frame fits: it
// ends as the next one starts); otherwise the message that refuses the schedule.
std::string passTooLong(std::int64_t passMs, std::int64_t everyMs);

// A duration of ms >= 0 as h:mm:ss ("0:06:21"), with the milliseconds when there are any ("0:06:21.206").
std::string formatDuration(std::int64_t ms);
// "forward by 1:00:00", "back by 0:00:01.500": a step of the system clock for the operator's lines.
std::string clockStepText(std::int64_t stepMs);

// "2026-12-07 15:30:01.250Z": the operator's lines and the dry run's edges.
std::string formatUtc(std::int64_t utcMs);
// The machine's local time of day at a UTC time, for the log and the estimate of a pass on virtual time.
platform::LocalTime localTimeAt(std::int64_t utcMs);

} // namespace tarvel::beacon
