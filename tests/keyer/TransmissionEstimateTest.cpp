#include "keyer/TransmissionEstimate.h"

#include "keyer/MessageCompiler.h"
#include "platform/Failure.h"

#include <gtest/gtest.h>
#include <string>

namespace tarvel::keyer {
namespace {

const KeyingValues kCw{};
const KeyingValues kDfcw60{60000, 1, 2, 3, 20, DfcwMode::Dfcw};

TEST(Estimate, WorkedExamples) {
    EXPECT_EQ(EstimateMilliseconds("", kCw, {}), 0.0);
    EXPECT_EQ(FormatDuration(0.0), "00:00:01");

    EXPECT_EQ(EstimateMilliseconds(CompileMessage("E"), kCw, {}), 500.0);
    EXPECT_EQ(FormatDuration(500.0), "00:00:01");

    EXPECT_EQ(EstimateMilliseconds(CompileMessage("A"), kDfcw60, {}), 390000.0);
    EXPECT_EQ(FormatDuration(390000.0), "00:06:31");
}

TEST(Estimate, IdentificationChangesOnlyTheUnit) {
    const std::string endId = CompileMessage(WrapWithIdentification("", false, "", true, "A")); // <#,A*,-=^
    IdSpeeds qrss3;
    qrss3.endQrss3 = true;
    // 60000 for "<", then unit 3000 with the DFCW60 factors: gaps 3000/2, dash 3000x1, letter gap 3000x3.
    EXPECT_EQ(EstimateMilliseconds(endId, kDfcw60, qrss3), 60000.0 + 1500 + 3000 + 1500 + 3000 + 9000);
    IdSpeeds cw;
    cw.endCw = true;
    EXPECT_EQ(EstimateMilliseconds(endId, kDfcw60, cw), 60000.0 + 50 + 100 + 50 + 100 + 300);

    // The start ID reads its own buttons; "^" gives the unit back for the message that follows.
    const std::string startId = CompileMessage(WrapWithIdentification("E", true, "E", false, ""));
    IdSpeeds start;
    start.startCw = true;
    EXPECT_EQ(EstimateMilliseconds(startId, kCw, qrss3), 100.0 + 100 + 100 + 300 + 100 + 300);
    EXPECT_EQ(EstimateMilliseconds(startId, kDfcw60, start), 60000.0 + 50 + 100 + 300 + 60000 + 180000);
    // With neither button checked the unit stays as it was.
    EXPECT_EQ(EstimateMilliseconds(endId, kCw, {}), EstimateMilliseconds("<,*,-=", kCw, {}));
}

TEST(Estimate, DurationRoundsToMillisecondsDropsSecondFractionsAndWrapsDays) {
    EXPECT_EQ(FormatDuration(1998.9), "00:00:02"); // 2998.9 ms -> 2999 ms -> 2 s
    EXPECT_EQ(FormatDuration(999.5), "00:00:02");  // 1999.5 -> 2000 (half to even)
    EXPECT_EQ(FormatDuration(998.5), "00:00:01");  // 1998.5 -> 1998
    EXPECT_EQ(FormatDuration(25 * 3600000.0 - 1000), "01:00:00");
    EXPECT_EQ(FormatDuration(24 * 3600000.0 - 2000), "23:59:59");

    // Thirds of a dot add up to whole seconds although each third is inexact.
    KeyingValues thirds{100, 3, 3, 3, 0, DfcwMode::Off};
    const double total = EstimateMilliseconds("<" + std::string(27, ','), thirds, {});
    EXPECT_NEAR(total, 1000.0, 1e-9);
    EXPECT_EQ(FormatDuration(total), "00:00:02");
}

TEST(Estimate, EndTimeIsStartPlusDurationAcrossMidnight) {
    EXPECT_EQ(FormatEndTime({2026, 12, 7, 12, 0, 0, 0}, 0.0), "12:00:01");
    EXPECT_EQ(FormatEndTime({2026, 12, 31, 23, 59, 30, 0}, 59000.0), "0:00:30");
    EXPECT_EQ(FormatEndTime({2026, 12, 7, 9, 5, 59, 600}, 0.0), "9:06:00"); // milliseconds carry
}

TEST(ElementGap, RoundsRealDivisionHalvesToEven) {
    EXPECT_EQ(ElementGapMilliseconds(1000, 3), 333);
    EXPECT_EQ(ElementGapMilliseconds(10000, 4), 2500);
    EXPECT_EQ(ElementGapMilliseconds(2000, 3), 667);
    EXPECT_EQ(ElementGapMilliseconds(5, 2), 2);
    EXPECT_EQ(ElementGapMilliseconds(7, 2), 4);
    EXPECT_EQ(ElementGapMilliseconds(3600000, 1), 3600000);
}

TEST(ElementGap, ZeroDivisorIsAFloatingPointFault) {
    try {
        ElementGapMilliseconds(100, 0);
        FAIL();
    } catch (const platform::Failure& f) {
        EXPECT_STREQ(f.what(), "Floating point division by zero");
    }
    try {
        ElementGapMilliseconds(0, 0);
        FAIL();
    } catch (const platform::Failure& f) {
        EXPECT_STREQ(f.what(), "Invalid floating point operation");
    }
    KeyingValues broken;
    broken.gapDivisor = 0;
    EXPECT_THROW(EstimateMilliseconds("<*,-", broken, {}), platform::Failure);
    EXPECT_EQ(EstimateMilliseconds("<*-=", broken, {}), 800.0); // no element gap, no fault
}

} // namespace
} // namespace tarvel::keyer
