#include "synth/ReducedSine.h"

#include "synth/QuadReference.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace tarvel::synth {
namespace {

// The margins assume the fast sine is within about 1e-15 of the truth; 1e-14 still leaves them a
// thousandfold cushion (65536 * 1e-14 is far below kRoundingMargin).
TEST(ReducedSine, StaysWithin1e14OfTheTrueSineAndCosineOverTheWholeRange) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> exponent(-10.0, 38.0);
    std::uniform_int_distribution<long long> quarterTurns(0, (1LL << 38) / 2);
    std::uniform_real_distribution<double> offset(-1e-6, 1e-6);
    double worst = 0.0;
    for (int n = 0; n < 200000; ++n) {
        long double phase;
        if (n % 2) {
            phase = static_cast<long double>(std::exp2(exponent(random)));
        } else { // next to a multiple of pi/2, where the reduction cancels most digits
            phase = static_cast<long double>(quarterTurns(random) * M_PI_2q + offset(random));
        }
        if (n % 3 == 0) {
            phase = -phase;
        }
        double sine;
        ASSERT_TRUE(ReducedSine(phase, sine)) << static_cast<double>(phase);
        double pairedSine;
        double cosine;
        ASSERT_TRUE(ReducedSineCosine(phase, pairedSine, cosine));
        ASSERT_EQ(pairedSine, sine);
        const auto error =
            static_cast<double>(std::max(fabsq(sine - sinq(phase)), fabsq(cosine - cosq(phase))));
        worst = std::max(worst, error);
    }
    EXPECT_LT(worst, 1e-14);
}

TEST(ReducedSine, LeavesValuesNearARoundingTieToTheExactSine) {
    constexpr std::int32_t level = 32767;
    for (const int n : {0, 1, 1000, 22000, 32766, -5, -32767}) {
        // Turns small enough that rounding the phase to extended precision keeps the value at the tie.
        for (const double turns : {0.0, 1.0, 1e4, 1e6}) {
            const __float128 tie = (n + (n < 0 ? -0.5Q : 0.5Q)) / level;
            const auto phase = static_cast<long double>(asinq(tie) + turns * 2 * M_PIq);
            std::int64_t rounded;
            EXPECT_FALSE(TryReducedSineSample(phase, level, rounded)) << n << " " << turns;
            // A little further from the tie the fast answer is taken, and it is the right one.
            const __float128 clear = (n + 0.49Q) / level;
            const auto clearPhase = static_cast<long double>(asinq(clear) + turns * 2 * M_PIq);
            ASSERT_TRUE(TryReducedSineSample(clearPhase, level, rounded)) << n << " " << turns;
            EXPECT_EQ(rounded, n);
        }
    }
    bool nonNegative;
    EXPECT_FALSE(TryReducedSineSign(-0.0L, nonNegative));
    EXPECT_FALSE(TryReducedSineSign(static_cast<long double>(1000 * M_PIq), nonNegative));
    ASSERT_TRUE(TryReducedSineSign(static_cast<long double>(1000 * M_PIq) + 1e-6L, nonNegative));
    EXPECT_TRUE(nonNegative);
}

TEST(ReducedSine, DeclinesPhasesBeyondItsRange) {
    double sine;
    EXPECT_TRUE(ReducedSine(kReducedPhaseLimit, sine));
    EXPECT_FALSE(ReducedSine(kReducedPhaseLimit * 2, sine));
    EXPECT_FALSE(ReducedSine(-kReducedPhaseLimit * 2, sine));
    EXPECT_FALSE(ReducedSine(std::numeric_limits<long double>::quiet_NaN(), sine));
    EXPECT_FALSE(ReducedSine(std::numeric_limits<long double>::infinity(), sine));
}

} // namespace
} // namespace tarvel::synth
