#include "keyer/TransmissionEstimate.h"

#include "platform/Locale.h"

#include <cmath>
#include <cstdio>

namespace tarvel::keyer {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::int32_t kCwIdUnit = 100;
constexpr std::int32_t kQrss3IdUnit = 3000;

std::int32_t idUnit(std::int32_t unit, bool cw, bool qrss3) {
    if (cw)
        unit = kCwIdUnit;
    if (qrss3)
        unit = kQrss3IdUnit;
    return unit;
}

} // namespace

double EstimateMilliseconds(std::string_view sequence, const KeyingValues& values, const IdSpeeds& speeds) {
    double total = 0;
    std::int32_t unit = values.dotMs;
    // Products are taken in 64 bits: the factors are small, but a wrapped product would be nonsense.
    for (const char symbol : sequence) {
        switch (symbol) {
        case '#':
            unit = idUnit(unit, speeds.endCw, speeds.endQrss3);
            break;
        case '>':
            unit = idUnit(unit, speeds.startCw, speeds.startQrss3);
            break;
        case '^':
            unit = values.dotMs;
            break;
        case '<':
            total = values.dotMs;
            break;
        case '*':
            total += unit;
            break;
        case ',':
            total = static_cast<double>(total + ElementGapExact(unit, values.gapDivisor));
            break;
        case '-':
            total += static_cast<double>(std::int64_t{unit} * values.dashFactor);
            break;
        case '=':
            total += static_cast<double>(std::int64_t{unit} * values.letterGapFactor);
            break;
        default:
            break;
        }
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
