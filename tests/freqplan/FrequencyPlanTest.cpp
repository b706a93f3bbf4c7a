#include "FreqplanRig.h"
#include "freqplan/FrequencyWord.h"

#include <cmath>

using namespace tarvel;
using tarvel::mock::readFile;
using tarvel::test::FreqplanRig;

namespace {

class FrequencyPlanTest : public ::testing::Test {
protected:
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

TEST_F(FrequencyPlanTest, WindowDefaultsGiveTheDocumentedTones) {
    rig.plan.retuneVfoA();
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 122880000);
    ASSERT_TRUE(rig.vfoATone);
    EXPECT_EQ(rig.vfoATone->hz, 30000);
    EXPECT_TRUE(rig.vfoATone->aboveAudio);
    EXPECT_EQ(rig.plan.tunedCoarseHz(), 480000);

    rig.plan.setVfoBOffset(500000);
    rig.plan.retuneVfoB();
    EXPECT_EQ(rig.vfoB.frequencyWord.load(), 46630400);
    ASSERT_TRUE(rig.vfoBTone);
    EXPECT_EQ(rig.vfoBTone->hz, 11384.375);
    EXPECT_FALSE(rig.vfoBTone->aboveAudio);
    EXPECT_EQ(readFile(rig.ini.path()), "[Param]\r\nFp=500000\r\nfrrx=135700\r\n");
}

TEST_F(FrequencyPlanTest, NegativeTonesReportTheirMagnitude) {
    rig.plan.setVfoAOffset(510000); // VFO A tone −30000 Hz: not above, compared signed
    rig.plan.retuneVfoA();
    EXPECT_EQ(rig.vfoATone->hz, 1875);
    rig.plan.setVfoAFactor(1);
    rig.plan.retuneVfoA();
    EXPECT_EQ(rig.vfoATone->hz, 30000);
    EXPECT_FALSE(rig.vfoATone->aboveAudio);

    rig.plan.setVfoBOffset(100000); // VFO B below its frequency: magnitude compared
    rig.plan.setVfoBFactor(1);
    rig.plan.setVfoB(130000);
    EXPECT_LT(rig.vfoB.frequencyWord.load(), 0);
    EXPECT_EQ(rig.vfoBTone->hz, 30000);
    EXPECT_TRUE(rig.vfoBTone->aboveAudio);
}

TEST_F(FrequencyPlanTest, KeyedShiftLowersVfoAByShiftTimesCorrectionOverN) {
    rig.plan.setCorrection(1.5);
    rig.plan.retuneVfoA();
    const auto unshifted = rig.vfoA.frequencyWord.load();
    rig.plan.setDfcwShift(20);
    rig.plan.retuneVfoA();
    // 0.20 Hz × 1.5 / 16 = 0.01875 Hz = 76.8 units of 1/4096 Hz.
    EXPECT_NEAR(static_cast<double>(unshifted - rig.vfoA.frequencyWord.load()), 76.8, 0.5);
    EXPECT_EQ(rig.plan.vfoAWord(), rig.vfoA.frequencyWord.load());
    EXPECT_EQ(rig.plan.vfoACoarseHz(), 480000); // the shift is not the operator's tuning
    EXPECT_NE(readFile(rig.ini.path()).find("corr=1.5\r\n"), std::string::npos);
}

TEST_F(FrequencyPlanTest, FactorChangeWaitsForTheNextRetune) {
    rig.plan.retuneVfoA();
    rig.vfoATone.reset();
    rig.plan.setVfoAFactor(8);
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 122880000);
    EXPECT_FALSE(rig.vfoATone);
    EXPECT_EQ(rig.plan.vfoAWord(), 480000LL * 4096 / 8); // what Start would load
    rig.plan.setVfoA(480001, 0);
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), (480001LL * 4096) / 8);
    EXPECT_EQ(readFile(rig.ini.path()), "[Param]\r\nN=8\r\n");
}

TEST_F(FrequencyPlanTest, ZeroFactorStopsTheRetuneAndKeepsEverything) {
    rig.plan.retuneVfoA();
    rig.vfoATone.reset();
    rig.act([&] { rig.plan.setVfoAFactor(0); });
    rig.act([&] { rig.plan.setVfoA(200000, 5); });
    EXPECT_EQ(rig.sink.messages,
              std::vector<std::string>{"Floating point division by zero: VFO A multiplier (N) is 0"});
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 122880000);
    EXPECT_FALSE(rig.vfoATone);
    EXPECT_EQ(rig.plan.tunedCoarseHz(), 480000);
    EXPECT_EQ(rig.plan.tunedFineCentiHz(), 0);
    // The field shows the new value, and the keyer logs it.
    EXPECT_EQ(rig.plan.vfoACoarseHz(), 200000);
    EXPECT_EQ(rig.plan.vfoAFineCentiHz(), 5);

    rig.sink.messages.clear();
    rig.act([&] { rig.plan.setVfoBFactor(0); });
    rig.act([&] { rig.plan.setVfoBOffset(135700); });
    rig.act([&] { rig.plan.setVfoB(135700 + 10); });
    rig.act([&] { rig.plan.setVfoB(135700); }); // f = 0 and D = 0
    EXPECT_EQ(rig.sink.messages,
              (std::vector<std::string>{"Floating point division by zero: VFO B multiplier (Nrx) is 0",
                                        "Invalid floating point operation: VFO B multiplier (Nrx) is 0"}));
    // A correction that overflows the word is named as the cause.
    rig.sink.messages.clear();
    rig.act([&] { rig.plan.setVfoAFactor(16); });
    rig.act([&] { rig.plan.setCorrection(1e300); });
    rig.act([&] { rig.plan.setVfoA(200000, 5); });
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{
                                     "Invalid floating point operation: correction factor (corr) is 1E300"});
    EXPECT_EQ(readFile(rig.ini.path()).find("frrx="), std::string::npos);
}

TEST_F(FrequencyPlanTest, WaveformsAndLevelsReachChannelsAndWhatStartLoads) {
    rig.plan.setVfoAWaveform(synth::WaveformKind::Sine);
    rig.plan.setVfoBWaveform(synth::WaveformKind::Square);
    rig.plan.setVfoAWaveform(synth::WaveformKind::Off);
    EXPECT_EQ(rig.vfoA.waveform.load(), 0);
    EXPECT_EQ(rig.vfoB.waveform.load(), 2);
    EXPECT_EQ(rig.plan.vfoBWaveform(), synth::WaveformKind::Square);
    EXPECT_EQ(readFile(rig.ini.path()), "[Param]\r\nTA=0\r\nTB=2\r\n");

    // A played level sounds at once; Start loads the level last set.
    rig.plan.setVfoALevel(1000);
    rig.plan.playVfoALevel(500);
    EXPECT_EQ(rig.vfoA.level.load(), 500);
    EXPECT_EQ(rig.plan.vfoALevel(), 1000);
    rig.plan.playVfoBLevel(32000);
    EXPECT_EQ(rig.vfoB.level.load(), 32000);
    EXPECT_EQ(rig.plan.vfoBLevel(), 20000);
    rig.plan.setVfoBLevel(32000);
    EXPECT_EQ(rig.plan.vfoBLevel(), 32000);
}
