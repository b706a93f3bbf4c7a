#include "beacon/Duration.h"

namespace tarvel::beacon {

DurationParse parseDuration(std::string_view text) {
    const auto refuse = [&](std::string_view why) {
        return DurationParse{0, "malformed duration \"" + std::string(text) + "\": " + std::string(why)};
    };
    std::string_view digits = text;
    std::int64_t unitMs = 1000;
    if (!digits.empty()) {
        switch (digits.back()) {
        case 's':
            digits.remove_suffix(1);
            break;
        case 'm':
            unitMs = 60 * 1000;
            digits.remove_suffix(1);
            break;
        case 'h':
            unitMs = 60 * 60 * 1000;
            digits.remove_suffix(1);
            break;
        default:
            break;
        }
    }
    if (digits.empty())
        return refuse("expected a whole number followed by s, m or h, for example 10m");
    std::int64_t count = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return refuse("expected a whole number followed by s, m or h, for example 10m");
        count = count * 10 + (c - '0');
        if (count * unitMs > kMaxDurationMs)
            return refuse("longer than one day");
    }
    if (count == 0)
        return refuse("must be longer than zero");
    return {count * unitMs, {}};
}

} // namespace tarvel::beacon
