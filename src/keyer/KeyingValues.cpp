#include "keyer/KeyingValues.h"

#include "platform/Failure.h"

#include <cmath>

namespace tarvel::keyer {
namespace {

// Extended precision, as the division is carried out before it is rounded or added to the total.
long double divide(std::int32_t tt, std::int32_t gapDivisor) {
    if (gapDivisor == 0)
        throw platform::Failure(tt == 0 ? "Invalid floating point operation"
                                        : "Floating point division by zero");
    return static_cast<long double>(tt) / static_cast<long double>(gapDivisor);
}

} // namespace

std::int64_t ElementGapMilliseconds(std::int32_t tt, std::int32_t gapDivisor) {
    return std::llrint(divide(tt, gapDivisor));
}

long double ElementGapExact(std::int32_t tt, std::int32_t gapDivisor) {
    return divide(tt, gapDivisor);
}

} // namespace tarvel::keyer
