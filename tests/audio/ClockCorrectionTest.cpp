#include "audio/ClockCorrection.h"

#include <gtest/gtest.h>

namespace tarvel::audio {
namespace {

// The card keeps its clock whatever the factor: a factor applied with the offset it cancels is proposed
// again by the next measurement, and a card that has since warmed up is corrected once, from the start.
TEST(ClockCorrection, MeasuringAgainAfterApplyingProposesTheFactorInForce) {
    const double applied = correctedFactor(1.0002, 0.0, 37.5);
    EXPECT_NEAR(correctedFactor(applied, 37.5, 37.5), applied, 1e-15);
    EXPECT_NEAR(correctedFactor(applied, 37.5, 38.5), 1.0002 / (1 + 38.5e-6), 1e-15);
}

TEST(ClockCorrection, AStoredOffsetThatIsNoNumberOrBeyondTenThousandPpmIsRefused) {
    const auto read = [](const std::string& text) {
        return readCancelledOffset(
            settings::IniSnapshot(settings::IniDocument("[Param]\r\nCorrPpm=" + text + "\r\n", "Param")));
    };
    EXPECT_EQ(readCancelledOffset(settings::IniSnapshot(std::nullopt)).ppm, 0.0); // none stored
    for (const auto& [text, ppm] : {std::pair<std::string, double>{"  ", 0}, {"-37", -37}, {"10000", 10000}})
        EXPECT_TRUE(read(text).refusal.empty() && read(text).ppm == ppm) << text;
    for (const std::string text : {"abc", "INF", "NAN", "1e999", "10001", "-10000.5e0"})
        EXPECT_NE(read(text).refusal.find("CorrPpm=" + text + " is not"), std::string::npos) << text;
}

} // namespace
} // namespace tarvel::audio
