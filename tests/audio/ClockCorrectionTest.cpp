#include "audio/ClockCorrection.h"

#include <gtest/gtest.h>

namespace tarvel::audio {
namespace {

// The card keeps its clock whatever the factor: a factor applied with the offset it cancels is proposed
// again by the next measurement, and a card that has since warmed up is corrected once, from the start.
TEST(ClockCorrection, MeasuringAgainAfterApplyingProposesTheFactorInForce) {
    const double applied = correctedFactor(1.0002, 0.0, 37.5);
    EXPECT_NEAR(applied, 1.0002 / (1 + 37.5e-6), 1e-15);
    EXPECT_NEAR(correctedFactor(applied, 37.5, 37.5), applied, 1e-15);
    EXPECT_NEAR(correctedFactor(applied, 37.5, 38.5), 1.0002 / (1 + 38.5e-6), 1e-15);
}

TEST(ClockCorrection, AStoredOffsetThatIsNoNumberOrBeyondTenThousandPpmIsRefused) {
    const auto read = [](const std::string& line) {
        return readCancelledOffset(
            settings::IniSnapshot(settings::IniDocument("[Param]\r\n" + line, "Param")));
    };
    for (const auto& [line, ppm] : {std::pair<std::string, double>{"", 0},
                                    {"CorrPpm=  \r\n", 0},
                                    {"CorrPpm=-37\r\n", -37},
                                    {"CorrPpm=10000\r\n", 10000}}) {
        EXPECT_EQ(read(line).refusal, "") << line;
        EXPECT_EQ(read(line).ppm, ppm) << line;
    }
    for (const std::string text : {"abc", "INF", "NAN", "1e999", "10001", "-10000.5e0"})
        EXPECT_NE(read("CorrPpm=" + text + "\r\n").refusal.find("CorrPpm=" + text + " is not"),
                  std::string::npos)
            << text;
}

} // namespace
} // namespace tarvel::audio
