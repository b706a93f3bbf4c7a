// Fast sine of an extended-precision tone phase that knows when its rounding to a sample may be wrong.
//
// The phase is reduced by pi/2 in extended precision with a three-part constant, and the sine of the
// remainder is taken by double-precision polynomials. The whole evaluation stays within about 1e-15 of the
// true sine, far inside the margins below, so a value it calls certain rounds to the same sample as the
// full extended-precision sine; the few values near a rounding tie are left to the caller.
#pragma once

#include <cmath>
#include <cstdint>

namespace tarvel::synth {

// Beyond this phase (rad) k * kPio2Part1 and k * kPio2Part2 stop being exact: 23 hours at the top tone.
inline constexpr long double kReducedPhaseLimit = 0x1p38L;
// Levels beyond this would let the double product's rounding approach the margin.
inline constexpr std::int32_t kReducedLevelLimit = 65536;
// How close (in sample units) to a rounding tie a value must come before the exact sine is asked.
inline constexpr double kRoundingMargin = 1e-6;
// How close to zero a sine must come before the exact sine decides a square wave's sign.
inline constexpr double kSignMargin = 1e-12;

namespace detail {

inline constexpr long double kTwoOverPi = 0xa2f9836e4e44152ap-64L;
// pi/2 = part1 + part2 + part3 (+ 1e-36); parts 1 and 2 have 26 significant bits.
inline constexpr long double kPio2Part1 = 0x3243f6ap-25L;
inline constexpr long double kPio2Part2 = 0x222168cp-51L;
inline constexpr long double kPio2Part3 = 0x8d313198a2e03707p-117L;

// Minimax polynomials for |r| <= pi/4, each within about 1e-16.
inline double SinKernel(double r) {
    const double z = r * r;
    const double p = 8.33333333332248946124e-03 +
                     z * (-1.98412698298579493134e-04 +
                          z * (2.75573137070700676789e-06 +
                               z * (-2.50507602534068634195e-08 + z * 1.58969099521155010221e-10)));
    return r + z * r * (-1.66666666666666324348e-01 + z * p);
}

inline double CosKernel(double r) {
    const double z = r * r;
    const double p =
        z * (4.16666666666666019037e-02 +
             z * (-1.38888888888741095749e-03 +
                  z * (2.48015872894767294178e-05 +
                       z * (-2.75573143513906633035e-07 +
                            z * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11)))));
    return 1.0 - (0.5 * z - z * p);
}

// Splits phase into a quadrant and a remainder within pi/4; false beyond the reduction's range.
inline bool Reduce(long double phase, double& remainder, unsigned& quadrant) {
    if (!(std::fabs(phase) <= kReducedPhaseLimit)) {
        return false;
    }
    const long long k = std::llrint(phase * kTwoOverPi);
    const long double kl = static_cast<long double>(k);
    remainder = static_cast<double>(((phase - kl * kPio2Part1) - kl * kPio2Part2) - kl * kPio2Part3);
    quadrant = static_cast<unsigned>(static_cast<unsigned long long>(k) & 3u);
    return true;
}

inline double SineInQuadrant(double remainder, unsigned quadrant) {
    const double s = (quadrant & 1u) ? CosKernel(remainder) : SinKernel(remainder);
    return (quadrant & 2u) ? -s : s;
}

} // namespace detail

// sin(phase) to about 1e-15, or false when the phase lies beyond the reduction's range (or is not finite).
inline bool ReducedSine(long double phase, double& sine) {
    double r;
    unsigned quadrant;
    if (!detail::Reduce(phase, r, quadrant)) {
        return false;
    }
    sine = detail::SineInQuadrant(r, quadrant);
    return true;
}

// sin(phase) and cos(phase), each as ReducedSine gives a sine.
inline bool ReducedSineCosine(long double phase, double& sine, double& cosine) {
    double r;
    unsigned quadrant;
    if (!detail::Reduce(phase, r, quadrant)) {
        return false;
    }
    sine = detail::SineInQuadrant(r, quadrant);
    cosine = detail::SineInQuadrant(r, quadrant + 1u); // cos x = sin(x + pi/2)
    return true;
}

// round(sin(phase) * level), halves to even, when that is certain; |level| must not exceed
// kReducedLevelLimit.
inline bool TryReducedSineSample(long double phase, double level, std::int64_t& rounded) {
    double sine;
    if (!ReducedSine(phase, sine)) {
        return false;
    }
    const double value = sine * level;
    const double nearest = std::nearbyint(value);
    if (std::fabs(value - nearest) > 0.5 - kRoundingMargin) {
        return false;
    }
    rounded = static_cast<std::int64_t>(nearest);
    return true;
}

// Whether sin(phase) >= 0 when that is certain.
inline bool TryReducedSineSign(long double phase, bool& nonNegative) {
    double sine;
    if (!ReducedSine(phase, sine) || std::fabs(sine) < kSignMargin) {
        return false;
    }
    nonNegative = sine > 0.0;
    return true;
}

} // namespace tarvel::synth
