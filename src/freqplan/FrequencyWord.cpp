#include "freqplan/FrequencyWord.h"

#include "platform/Failure.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace tarvel::freqplan {

static_assert(std::numeric_limits<long double>::digits == 64);

std::int32_t wrappingDifference(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

FrequencyWord computeFrequencyWord(double f, double corr, std::int32_t divisor) {
    const long double numerator = static_cast<long double>(f) * corr * 4096.0L;
    if (divisor == 0) {
        if (numerator == 0.0L || std::isnan(numerator))
            throw platform::Failure("Invalid floating point operation");
        throw platform::Failure("Floating point division by zero");
    }
    const double w = static_cast<double>(numerator / divisor);
    // 2^63 is exactly representable; anything at or beyond it has no 64-bit integer.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(w) || w >= kLimit || w < -kLimit)
        throw platform::Failure("Invalid floating point operation");
    return {w, static_cast<std::int64_t>(std::llrint(w))};
}

double vfoAFrequency(std::int32_t coarse, std::int32_t fpA, std::int32_t fine, std::int32_t df) {
    const long double coarsePart = wrappingDifference(coarse, fpA);
    const long double finePart = wrappingDifference(fine, df);
    return static_cast<double>(coarsePart + finePart / 100.0L);
}

double vfoBFrequency(std::int32_t fp, std::int32_t frequency) {
    return static_cast<double>(wrappingDifference(fp, frequency));
}

} // namespace tarvel::freqplan
