#include "beacon/ClockTracking.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvel::beacon {
namespace {

// A card that plays at ppm for the given seconds from where the last call left it, five reports a second
// with a few microseconds of jitter.
struct Card {
    ClockTracking& tracking;
    double t = 0, frames = 0;
    int n = 0;
    void play(double ppm, double seconds) {
        for (const double end = t + seconds; t < end; t += 0.2) {
            const double jitter = ((n++ * 7919) % 11 - 5) * 1e-6;
            tracking.add({static_cast<std::int64_t>(frames),
                          static_cast<std::int64_t>((100 + t + jitter) * 1e9), 1, 0});
            frames += 0.2 * 44100 * (1 + ppm * 1e-6);
        }
    }
};

TEST(ClockTracking, ChangesTheCorrectionOnlyWhenSureAndMovedAndFollowsACardWarmingUp) {
    ClockTracking tracking(1.25, 0.0, "hw:0,0");
    Card card{tracking};
    card.play(37.5, 10);
    EXPECT_FALSE(tracking.update()); // too early to be sure
    card.play(37.5, 300);
    const std::optional<double> first = tracking.update();
    ASSERT_TRUE(first);
    EXPECT_NEAR(*first, 1.25 / (1 + 37.5e-6), 1.25 * 0.05e-6);
    card.play(37.5, 60);
    EXPECT_FALSE(tracking.update()); // nothing moved

    card.play(38.5, 2 * ClockTracking::kWindowSeconds); // warmer: the old pairs are forgotten
    const std::optional<double> warm = tracking.update();
    ASSERT_TRUE(warm);
    EXPECT_NEAR(*warm, 1.25 / (1 + 38.5e-6), 1.25 * 0.05e-6);
    EXPECT_LT(tracking.latest().uncertaintyPpm, ClockTracking::kThresholdPpm);
}

// The stored factor already cancels the card's offset: nothing to change, not a second correction.
TEST(ClockTracking, StartsFromTheStoredFactorAndTheOffsetItCancels) {
    ClockTracking tracking(1.25 / (1 + 37.5e-6), 37.5, "hw:0,0");
    Card card{tracking};
    card.play(37.5, 310);
    EXPECT_FALSE(tracking.update());
    EXPECT_TRUE(tracking.latest().valid);
}

} // namespace
} // namespace tarvel::beacon
