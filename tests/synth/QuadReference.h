// Tone samples computed independently in quadruple precision, for checking the synthesizer.
#pragma once

#include <cstdint>
#include <quadmath.h>

namespace tarvel::synth::test {

// 2*pi to 113 bits, rounded to the 64 bits the synthesizer's constant carries.
inline double QuadOmega(std::int32_t word) {
    const long double twoPi = static_cast<long double>(2 * M_PIq);
    return static_cast<double>(static_cast<long double>(word) * twoPi / 4096.0L);
}

// Sample instant: start plus i sample periods, the period added in extended precision.
inline double QuadSampleTime(double start, int i) {
    const long double step = static_cast<long double>(i) / 44100.0L;
    return static_cast<double>(static_cast<long double>(start) + step);
}

// The phase product is exact in quad (53 + 53 bits) and then rounded once to extended precision.
inline __float128 QuadPhase(double omega, double t) {
    return static_cast<__float128>(static_cast<long double>(static_cast<__float128>(omega) * t));
}

struct QuadSample {
    std::int64_t rounded; // nearest integer of sin * level, halves to even
    bool nearTie;         // so close to a half that extended precision may round the other way
};

inline QuadSample QuadSineSample(__float128 phase, std::int32_t level) {
    const __float128 value = sinq(phase) * level;
    const __float128 nearest = rintq(value);
    const bool nearTie = fabsq(fabsq(value - nearest) - 0.5Q) < 1e-12Q;
    return {static_cast<std::int64_t>(nearest), nearTie};
}

} // namespace tarvel::synth::test
