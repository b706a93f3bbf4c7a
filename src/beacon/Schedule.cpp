#include "beacon/Schedule.h"

namespace tarvel::beacon {
namespace {

std::string secondsText(std::int64_t ms) {
    std::string text = std::to_string(ms / 1000);
    if (const std::int64_t rest = ms % 1000; rest != 0) {
        std::string fraction = std::to_string(1000 + rest).substr(1);
        while (fraction.back() == '0')
            fraction.pop_back();
        text += "." + fraction;
    }
    return text + " s";
}

} // namespace

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

std::string passTooLong(std::int64_t passMs, std::int64_t everyMs) {
    if (passMs <= everyMs)
        return {};
    return "the transmission takes " + secondsText(passMs) + ", longer than the frame of " +
           secondsText(everyMs) + " given by --every";
}

} // namespace tarvel::beacon
