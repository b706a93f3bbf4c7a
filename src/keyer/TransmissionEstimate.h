#pragma once
// How long an element sequence takes to send, and the start and end times shown beside the estimate.
#include "keyer/KeyingValues.h"
#include "platform/Clock.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel::keyer {

// The identification speed choices: which radio button is checked for the end and the start ID.
struct IdSpeeds {
    bool endCw = false;
    bool endQrss3 = false;
    bool startCw = false;
    bool startQrss3 = false;
    bool operator==(const IdSpeeds&) const = default;
};

// Walks the sequence with a unit that starts at TT: "#" and ">" switch the unit to 100 (CW) or 3000
// (QRSS3) as chosen, "^" back to TT; "<" sets the total to TT; "*" adds the unit, "," unit / gapDivisor
// (real division), "-" unit x dashFactor, "=" unit x letterGapFactor; other bytes add nothing. Inside an
// ID only the unit changes, the factors stay those of `values`. A zero gapDivisor meets a "," with the
// faults of ElementGapExact.
double EstimateMilliseconds(std::string_view sequence, const KeyingValues& values, const IdSpeeds& speeds);

// The duration shown for an estimate: the total plus one second, as "hh:mm:ss". The total is taken to
// the nearest millisecond (halves to even) first, then fractions of a second are dropped; 24 hours or
// more show only their remainder below 24 hours.
std::string FormatDuration(double totalMs);

// The whole milliseconds that the shown duration stands for: totalMs + 1000, rounded.
std::int64_t DurationMilliseconds(double totalMs);

// The estimated end time of day (long time format) of a transmission starting at `start`.
std::string FormatEndTime(const platform::LocalTime& start, double totalMs);

} // namespace tarvel::keyer
