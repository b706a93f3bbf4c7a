#include "beacon/Calibration.h"

#include <gtest/gtest.h>

namespace tarvel::beacon {
namespace {

TEST(Calibration, TheSummaryLineKeepsTheFormScriptsParse) {
    audio::ClockEstimate e;
    e.valid = true;
    e.offsetPpm = 37.5;
    e.uncertaintyPpm = 0.04;
    e.seconds = 600.2;
    EXPECT_EQ(calibrationSummary(e, true, audio::ClockFit::correctedFactor(1.0, e.offsetPpm)),
              "clock offset: +37.50 ppm (± 0.04 ppm over 600 s; system clock synchronised: yes); "
              "Correct Freq: 0.99996250");
    e.offsetPpm = -3.256;
    EXPECT_EQ(calibrationSummary(e, false, audio::ClockFit::correctedFactor(1.25, e.offsetPpm)),
              "clock offset: -3.26 ppm (± 0.04 ppm over 600 s; system clock synchronised: no); "
              "Correct Freq: 1.25000407");
}

TEST(Calibration, ReadsItsOptionsAndRefusesBadOnes) {
    const CalibrateParse run = parseCalibrateOptions({"--minutes=3", "--settings", "a.ini", "--apply"});
    ASSERT_EQ(run.action, CalibrateParse::Action::Run);
    EXPECT_EQ(run.options.minutes, 3);
    EXPECT_EQ(run.options.settingsFile, "a.ini");
    EXPECT_TRUE(run.options.apply);
    EXPECT_EQ(parseCalibrateOptions({}).options.minutes, 10);
    EXPECT_FALSE(parseCalibrateOptions({}).options.apply);
    for (const auto& bad : std::vector<std::vector<std::string>>{{"--minutes", "0"},
                                                                 {"--minutes", "2.5"},
                                                                 {"--minutes"},
                                                                 {"--minutes=x"},
                                                                 {"--apply=1"},
                                                                 {"--apply", "--apply"},
                                                                 {"--settings="},
                                                                 {"--loop"},
                                                                 {"now"}}) {
        const CalibrateParse refused = parseCalibrateOptions(bad);
        EXPECT_EQ(refused.action, CalibrateParse::Action::Error) << bad.front();
        EXPECT_EQ(refused.exitStatus, 2);
        EXPECT_TRUE(refused.output.starts_with("tarvel calibrate: ")) << refused.output;
    }
}

} // namespace
} // namespace tarvel::beacon
