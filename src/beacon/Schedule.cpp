#include "beacon/Schedule.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace tarvel::beacon {
std::int64_t nextStart(std::int64_t nowMs, std::int64_t everyMs, std::int64_t offsetMs) {
    // Floor division, so a clock before the epoch still rounds towards the past.
    const std::int64_t shifted = nowMs - offsetMs;
    std::int64_t frame = shifted / everyMs;
    if (shifted % everyMs != 0 && shifted < 0)
        --frame;
    std::int64_t start = frame * everyMs + offsetMs;
    if (start < nowMs)
        start += everyMs;
    return start;
}

std::int64_t passStart(std::int64_t notBeforeUtcMs, std::int64_t nowUtcMs, std::int64_t everyMs,
                       std::int64_t offsetMs) {
    constexpr std::int64_t kLateStartMs = 100;
    const std::int64_t start = std::max(notBeforeUtcMs, nowUtcMs - kLateStartMs);
    return everyMs > 0 ? nextStart(start, everyMs, offsetMs) : start;
}

std::string passTooLong(std::int64_t passMs, std::int64_t everyMs) {
    if (passMs <= everyMs)
        return {};
    return "the transmission takes " + formatDuration(passMs) + ", longer than the frame of " +
           formatDuration(everyMs) + " given by --every";
}

std::string clockStepText(std::int64_t stepMs) {
    return (stepMs < 0 ? "back by " : "forward by ") + formatDuration(stepMs < 0 ? -stepMs : stepMs);
}

namespace {

// Floor division, so a time before the epoch still rounds towards the past.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - (a % b != 0 && a < 0 ? 1 : 0);
}

} // namespace

std::string formatDuration(std::int64_t ms) {
    const std::int64_t seconds = ms / 1000;
    char text[64];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    std::string shown = text;
    if (const std::int64_t rest = ms % 1000; rest != 0)
        shown += "." + std::to_string(1000 + rest).substr(1);
    return shown;
}

std::string formatUtc(std::int64_t utcMs) {
    const std::time_t seconds = static_cast<std::time_t>(floorDiv(utcMs, 1000));
    std::tm t{};
    gmtime_r(&seconds, &t);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03dZ", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                  static_cast<int>(utcMs - floorDiv(utcMs, 1000) * 1000));
    return text;
}

platform::LocalTime localTimeAt(std::int64_t utcMs) {
    const std::time_t seconds = static_cast<std::time_t>(floorDiv(utcMs, 1000));
    std::tm t{};
    localtime_r(&seconds, &t);
    return {t.tm_year + 1900,
            t.tm_mon + 1,
            t.tm_mday,
            t.tm_hour,
            t.tm_min,
            t.tm_sec,
            static_cast<int>(utcMs - floorDiv(utcMs, 1000) * 1000)};
}

} // namespace tarvel::beacon
