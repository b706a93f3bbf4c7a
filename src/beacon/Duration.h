#pragma once
// Durations as the operator writes them on the command line: a whole number followed by s, m or h ("30s",
// "10m", "1h"), or a bare whole number of seconds ("90"). Zero, signs, fractions and mixed units
// ("1m30s") are refused: a frame is set once, and a typo should stop the beacon rather than reshape it.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel::beacon {

// One day: the longest frame; it also keeps every value far from overflowing milliseconds.
inline constexpr std::int64_t kMaxDurationMs = 24LL * 60 * 60 * 1000;

struct DurationParse {
    std::int64_t ms = 0;
    std::string error; // empty when the text is a duration

    bool ok() const { return error.empty(); }
};

DurationParse parseDuration(std::string_view text);

} // namespace tarvel::beacon
