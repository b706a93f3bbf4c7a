#include "keyer/TransmissionEstimate.h"

#include "keyer/Plan.h"
#include "platform/Locale.h"

#include <cmath>
#include <cstdio>

namespace tarvel::keyer {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

} // namespace

double EstimateMilliseconds(std::string_view sequence, const KeyingValues& values, const IdSpeeds& speeds) {
    const KeyerPlan plan(sequence);
    PlanState state{1, values, values, 0, values.dotMs};
    const StepConditions conditions{speeds, false, false, true};
    double total = 0;
    while (state.position >= 1 && state.position <= plan.length()) {
        bool waited = false;
        for (const Action& step : plan.step(state, conditions)) {
            const auto* wait = std::get_if<action::Wait>(&step);
            if (!wait)
                continue;
            waited = true;
            switch (wait->counted) {
            case action::Counted::Adds:
                total += static_cast<double>(wait->estimatedMs);
                break;
            case action::Counted::AddsExtended:
                total = static_cast<double>(total + wait->estimatedMs);
                break;
            case action::Counted::StartsAt:
                total = static_cast<double>(wait->estimatedMs);
                break;
            }
        }
        // A symbol the keyer would stop at counts nothing; the estimate reads on.
        if (!waited)
            ++state.position;
    }
    return total;
}

std::int64_t DurationMilliseconds(double totalMs) {
    return std::llrint(static_cast<long double>(totalMs) + 1000.0L);
}

std::string FormatDuration(double totalMs) {
    std::int64_t ms = DurationMilliseconds(totalMs) % kMsPerDay;
    if (ms < 0)
        ms += kMsPerDay; // unreachable with non-negative keying values; keeps the display in range
    const std::int64_t seconds = ms / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

std::string FormatEndTime(const platform::LocalTime& start, double totalMs) {
    return platform::formatLongTime(platform::addMilliseconds(start, DurationMilliseconds(totalMs)));
}

} // namespace tarvel::keyer
