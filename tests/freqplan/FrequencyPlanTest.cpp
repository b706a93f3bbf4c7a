#include "FreqplanRig.h"
#include "freqplan/FrequencyWord.h"

#include <cmath>

using namespace tarvel;
using tarvel::mock::readFile;
using tarvel::test::FreqplanRig;

namespace {

class FrequencyPlanTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setDecimalSeparator('.'); }
    void TearDown() override { platform::setDecimalSeparator(std::nullopt); }
    FreqplanRig rig;
};

} // namespace

TEST(FrequencyWord, RoundsHalvesToEvenAndDetectsFaults) {
    // 0.5/4096 Hz steps: a W exactly between two integers goes to the even one.
    EXPECT_EQ(freqplan::computeFrequencyWord(2.5 / 4096, 1.0, 1).word, 2);
    EXPECT_EQ(freqplan::computeFrequencyWord(3.5 / 4096, 1.0, 1).word, 4);
    EXPECT_EQ(freqplan::computeFrequencyWord(-2.5 / 4096, 1.0, 1).word, -2);

    auto message = [](double f, double corr, int d) {
        try {
            freqplan::computeFrequencyWord(f, corr, d);
        } catch (const platform::Failure& e) {
            return std::string(e.what());
        }
        return std::string("no failure");
    };
    EXPECT_EQ(message(1000, 1.0, 0), "Floating point division by zero");
    EXPECT_EQ(message(0, 1.0, 0), "Invalid floating point operation");
    EXPECT_EQ(message(1000, NAN, 16), "Invalid floating point operation");
    EXPECT_EQ(message(1000, INFINITY, 16), "Invalid floating point operation");
    EXPECT_EQ(message(1000, 1e300, 1), "Invalid floating point operation"); // beyond any 64-bit integer
    EXPECT_EQ(message(1000, 1e12, 1), "no failure");
}

TEST(FrequencyWord, ThirtyTwoBitDifferencesWrapWithoutUndefinedBehaviour) {
    EXPECT_EQ(freqplan::wrappingDifference(2100000000, -2100000000), 2100000000LL * 2 - 4294967296LL);
    EXPECT_EQ(freqplan::wrappingDifference(INT32_MIN, 1), INT32_MAX);
    EXPECT_DOUBLE_EQ(freqplan::vfoAFrequency(100, 0, -100, INT32_MIN), 100 + (-100.0 + 2147483648.0) / 100);
    // The fine part is divided in extended precision before the sum is rounded once.
    EXPECT_EQ(freqplan::vfoAFrequency(137600, 0, 25, 0), 137600.25);
}

TEST_F(FrequencyPlanTest, WindowDefaultsGiveTheDocumentedTonesAndColours) {
    rig.plan.retuneVfoA();
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 122880000);
    EXPECT_EQ(rig.Label9.caption(), "30000");
    EXPECT_EQ(rig.Label9.color(), freqplan::kOrange);

    rig.plan.Fp = 500000;
    rig.plan.retuneVfoB();
    EXPECT_EQ(rig.vfoB.frequencyWord.load(), 46630400);
    EXPECT_EQ(rig.LbFoutrx.caption(), "11384.375");
    EXPECT_EQ(rig.LbFoutrx.color(), freqplan::kLightGrey);
    EXPECT_NE(readFile(rig.ini.path()).find("frrx=135700\r\n"), std::string::npos);

    platform::setDecimalSeparator(',');
    rig.plan.retuneVfoB();
    EXPECT_EQ(rig.LbFoutrx.caption(), "11384,375");
}

TEST_F(FrequencyPlanTest, NegativeTonesShowTheirMagnitude) {
    rig.act([&] { rig.EdFpA.setText("510000"); }); // VFO A tone −30000 Hz: grey, compared signed
    rig.plan.retuneVfoA();
    EXPECT_EQ(rig.Label9.caption(), "1875");
    rig.act([&] { rig.EdKdel.setText("1"); });
    rig.plan.retuneVfoA();
    EXPECT_EQ(rig.Label9.caption(), "30000");
    EXPECT_EQ(rig.Label9.color(), freqplan::kLightGrey);

    rig.act([&] { rig.EdFp.setText("100000"); }); // VFO B below seLfreq: magnitude compared
    rig.act([&] { rig.EdRxKdel.setText("1"); });
    rig.seLfreq.setValue(130000);
    EXPECT_LT(rig.vfoB.frequencyWord.load(), 0);
    EXPECT_EQ(rig.LbFoutrx.caption(), "30000");
    EXPECT_EQ(rig.LbFoutrx.color(), freqplan::kOrange);
    EXPECT_TRUE(rig.sink.messages.empty());
}

TEST_F(FrequencyPlanTest, KeyedShiftLowersVfoAByShiftTimesCorrectionOverN) {
    rig.act([&] { rig.Edit2.setText("1.5"); });
    rig.plan.retuneVfoA();
    const auto unshifted = rig.vfoA.frequencyWord.load();
    rig.plan.df = 20;
    rig.plan.retuneVfoA();
    // 0.20 Hz × 1.5 / 16 = 0.01875 Hz = 76.8 units of 1/4096 Hz.
    EXPECT_NEAR(static_cast<double>(unshifted - rig.vfoA.frequencyWord.load()), 76.8, 0.5);
    EXPECT_NE(readFile(rig.ini.path()).find("corr=1.5\r\n"), std::string::npos);
}

TEST_F(FrequencyPlanTest, FactorChangeWaitsForTheNextRetune) {
    rig.plan.retuneVfoA();
    rig.act([&] { rig.EdKdel.setText("8"); });
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 122880000);
    EXPECT_EQ(rig.Label9.caption(), "30000");
    rig.seRfreq.stepUp();
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), (480001LL * 4096) / 8);
}

TEST_F(FrequencyPlanTest, ZeroFactorStopsTheRetuneAndKeepsEverything) {
    rig.plan.retuneVfoA();
    rig.act([&] { rig.EdKdel.setText("0"); });
    rig.act([&] { rig.seRfreq.setValue(200000); });
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Floating point division by zero"});
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 122880000);
    EXPECT_EQ(rig.Label9.caption(), "30000");
    EXPECT_EQ(rig.plan.lastCoarse, 480000);
    EXPECT_EQ(rig.RFreqScrollBar1.position(), 480000);

    rig.sink.messages.clear();
    rig.act([&] { rig.EdRxKdel.setText("0"); });
    rig.act([&] { rig.EdFp.setText("135700"); });
    rig.act([&] { rig.seLfreq.setValue(135700 + 10); });
    rig.act([&] { rig.seLfreq.setValue(135700); }); // f = 0 and D = 0
    EXPECT_EQ(rig.sink.messages, (std::vector<std::string>{"Floating point division by zero",
                                                           "Invalid floating point operation"}));
    EXPECT_EQ(readFile(rig.ini.path()).find("frrx="), std::string::npos);
}

TEST_F(FrequencyPlanTest, TextFieldsReportConversionErrorsAndKeepValues) {
    rig.act([&] { rig.EdKdel.setText(" 12 "); });
    EXPECT_EQ(rig.plan.N, 12);
    rig.act([&] { rig.EdKdel.setText("1x"); });
    rig.act([&] { rig.EdKdel.setText(""); });
    rig.act([&] { rig.Edit2.setText("1,5"); }); // the separator here is the point
    EXPECT_EQ(rig.sink.messages, (std::vector<std::string>{"'1x' is not a valid integer value",
                                                           "'' is not a valid integer value",
                                                           "'1,5' is not a valid floating point value"}));
    EXPECT_EQ(rig.plan.N, 12);
    EXPECT_EQ(rig.plan.corr, 1.0);
    const std::string file = readFile(rig.ini.path());
    EXPECT_NE(file.find("N=12\r\n"), std::string::npos);
    EXPECT_EQ(file.find("corr"), std::string::npos);
}

TEST_F(FrequencyPlanTest, FineValueCarriesIntoCoarseValue) {
    rig.fineRfr.setValue(95);
    rig.fineRfr.stepUp();
    EXPECT_EQ(rig.fineRfr.value(), 0);
    EXPECT_EQ(rig.seRfreq.value(), 480001);
    EXPECT_EQ(rig.plan.lastCoarse, 480001);
    EXPECT_EQ(rig.plan.lastFine, 0);

    rig.fineRfr.stepDown();
    EXPECT_EQ(rig.fineRfr.value(), 95);
    EXPECT_EQ(rig.seRfreq.value(), 480000);

    rig.fineRfr.setText("-3");
    EXPECT_EQ(rig.fineRfr.value(), 95);
    EXPECT_EQ(rig.seRfreq.value(), 479999);
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), std::llrint(479999.95 * 4096 / 16));

    rig.fineRfr.setText("150"); // used as +1.50 Hz while typed
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), std::llrint(480000.5 * 4096 / 16));
    rig.fineRfr.focusOut(); // becomes 100, which carries
    EXPECT_EQ(rig.fineRfr.value(), 0);
    EXPECT_EQ(rig.seRfreq.value(), 480000);

    rig.fineRfr.setText(""); // an empty field counts as −100 and borrows at once
    EXPECT_EQ(rig.fineRfr.value(), 95);
    EXPECT_EQ(rig.seRfreq.value(), 479999);
}

TEST_F(FrequencyPlanTest, ScrollBarPullsTypedValuesIntoItsRange) {
    rig.seRfreq.setText("600000");
    EXPECT_EQ(rig.seRfreq.value(), 550000);
    EXPECT_EQ(rig.RFreqScrollBar1.position(), 550000);
    // The bar already stands at its maximum: the typed value stays.
    rig.seRfreq.setText("600000");
    EXPECT_EQ(rig.seRfreq.value(), 600000);
    EXPECT_EQ(rig.plan.lastCoarse, 600000);

    rig.RFreqScrollBar1.setPosition(137000 + 100000);
    EXPECT_EQ(rig.seRfreq.value(), 237000);
}

TEST_F(FrequencyPlanTest, ExtremeFieldValuesWrapOrSaturateWithoutCrashing) {
    rig.RFreqScrollBar1.setRange(100, 2100000000);
    rig.seRfreq.setText("2147483647");
    rig.fineRfr.setValue(100); // carry at the top saturates, then the range clamps
    EXPECT_EQ(rig.seRfreq.value(), 2100000000);
    rig.act([&] { rig.EdFpA.setText("-2147483648"); }); // coarse − FpA wraps in 32 bits
    rig.act([&] { rig.EdKdel.setText("-1"); });
    rig.seRfreq.stepDown();
    EXPECT_TRUE(rig.sink.messages.empty());
    const double f = static_cast<double>(freqplan::wrappingDifference(2099999999, INT32_MIN));
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), std::llrint(f * 4096 / -1));
}

TEST_F(FrequencyPlanTest, WaveformsLevelsAndStepsReachChannelsAndSettings) {
    rig.rgR.setItemIndex(1);
    rig.rgL.setItemIndex(2);
    EXPECT_EQ(rig.vfoA.waveform.load(), 1);
    EXPECT_EQ(rig.vfoB.waveform.load(), 2);
    EXPECT_EQ(rig.PnAcol.color(), freqplan::kGreen);
    rig.rgR.setItemIndex(0);
    EXPECT_EQ(rig.PnAcol.color(), freqplan::kLightGrey);

    rig.LevRScrollBar1.setPosition(1000);
    EXPECT_EQ(rig.vfoA.level.load(), 1000);
    EXPECT_EQ(rig.seRLev.value(), 1000);
    rig.LevLScrollBar1.setPosition(32000);
    EXPECT_EQ(rig.vfoB.level.load(), 32000);
    EXPECT_EQ(rig.seLLev.value(), 32000);

    rig.RBt100.click();
    rig.seLfreq.stepUp();
    EXPECT_EQ(rig.seLfreq.value(), 135800);
    const std::string file = readFile(rig.ini.path());
    EXPECT_NE(file.find("TA=0\r\n"), std::string::npos);
    EXPECT_NE(file.find("TB=2\r\n"), std::string::npos);
}
