#pragma once
// The frequency word: a tone frequency as a signed 64-bit count of 1/4096 Hz, computed the same way for
// both VFOs in extended precision.
#include <cstdint>

namespace tarvel::freqplan {

static_assert(sizeof(long double) > sizeof(double), "the frequency word needs the 80-bit extended type");

struct FrequencyWord {
    double w;          // f × corr × 4096 / D rounded to a double; w / 4096 is the tone shown
    std::int64_t word; // w rounded to the nearest integer, halves to even
};

// 32-bit difference a − b as the 32-bit arithmetic of the frequency fields wraps it.
std::int32_t wrappingDifference(std::int32_t a, std::int32_t b);

// f × corr × 4096 / divisor. Throws platform::Failure "Floating point division by zero" for a zero
// divisor, "Invalid floating point operation" for 0/0, a NaN or infinite result, or a w that no 64-bit
// integer holds.
FrequencyWord computeFrequencyWord(double f, double corr, std::int32_t divisor);

// VFO A: f = (coarse − offset) + (fine − DFCW shift) / 100, both differences 32-bit, the division extended,
// the sum rounded to a double.
double vfoAFrequency(std::int32_t coarse, std::int32_t fpA, std::int32_t fine, std::int32_t df);
// VFO B: f = offset − frequency, a 32-bit difference.
double vfoBFrequency(std::int32_t fp, std::int32_t frequency);

} // namespace tarvel::freqplan
