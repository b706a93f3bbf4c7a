#include "FreqplanRig.h"

#include <cmath>

using namespace tarvel;
using tarvel::mock::readFile;
using tarvel::test::FreqplanRig;

TEST(OptionsPanel, TuningRangePullsFrequencyAndRefusesBadRanges) {
    FreqplanRig rig;
    rig.act([&] { rig.options.Button2Click(); });
    EXPECT_EQ(rig.RFreqScrollBar1.maxValue(), 137800);
    EXPECT_EQ(rig.RFreqScrollBar1.minValue(), 137600);
    EXPECT_EQ(rig.seRfreq.value(), 137800);
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 137800LL * 4096 / 16);
    const std::string stored = readFile(rig.ini.path());
    EXPECT_LT(stored.find("MinF=137600\r\n"), stored.find("MaxF=137800\r\n"));

    // A maximum below the present minimum: refused, nothing written.
    rig.EdminF.setText("1000");
    rig.EdmaxF.setText("2000");
    rig.act([&] { rig.options.Button2Click(); });
    rig.EdmaxF.setText("abc");
    rig.act([&] { rig.options.Button2Click(); });
    EXPECT_EQ(rig.sink.messages, (std::vector<std::string>{"Scrollbar property out of range",
                                                           "'abc' is not a valid integer value"}));
    EXPECT_EQ(readFile(rig.ini.path()), stored);
    EXPECT_EQ(rig.RFreqScrollBar1.maxValue(), 137800);
}

TEST(OptionsPanel, StoredRangeAtStartUp) {
    FreqplanRig first;
    first.options.applyStoredRange(0, 0);
    EXPECT_EQ(first.RFreqScrollBar1.minValue(), 22000);
    EXPECT_EQ(first.RFreqScrollBar1.maxValue(), 550000);
    EXPECT_EQ(first.EdminF.text(), "137600");

    FreqplanRig low; // below the designed minimum: taken whole, no message
    low.act([&] { low.options.applyStoredRange(30000, 50000); });
    EXPECT_EQ(low.RFreqScrollBar1.minValue(), 30000);
    EXPECT_EQ(low.RFreqScrollBar1.maxValue(), 50000);
    EXPECT_EQ(low.EdmaxF.text(), "50000");
    EXPECT_TRUE(low.sink.messages.empty());

    FreqplanRig inverted;
    inverted.act([&] { inverted.options.applyStoredRange(600000, 500000); });
    EXPECT_EQ(inverted.RFreqScrollBar1.minValue(), 22000);
    EXPECT_TRUE(inverted.sink.messages.empty());
}

TEST(OptionsPanel, AltXShowsTheHiddenPanel) {
    FreqplanRig rig;
    rig.Panel1.hide();
    rig.options.FormKeyDown('X', false);
    EXPECT_FALSE(rig.Panel1.visible());
    rig.options.FormKeyDown('X', true);
    EXPECT_TRUE(rig.Panel1.visible());
}

TEST(Memories, StoreAndRecallWithFineValuesAcrossARestart) {
    platform::setDecimalSeparator(',');
    std::string path;
    {
        FreqplanRig rig;
        path = rig.ini.path();
        rig.RFreqScrollBar1.setRange(22000, 550000);
        rig.seRfreq.setValue(137600);
        rig.fineRfr.setValue(25);
        rig.BtF1w.click();
        EXPECT_EQ(rig.BtF1.caption(), "137600");
        rig.memories.keypadMouseDown(7, controls::MouseButton::Right); // memory 11
        EXPECT_EQ(rig.keypad[6]->caption(), "137,6");
        EXPECT_EQ(rig.keypad[5]->caption(), "6");
        rig.memories.keypadMouseDown(8, controls::MouseButton::Left); // a left press stores nothing
        const std::string file = readFile(path);
        EXPECT_NE(file.find("freq1=137600\r\n01x1=25\r\n"), std::string::npos);
        EXPECT_NE(file.find("freq11=137600\r\n01x11=25\r\n"), std::string::npos);
        EXPECT_EQ(file.find("freq12"), std::string::npos);
    }
    FreqplanRig next(path); // a later run: fine copies start at 0, recall reads the file
    next.RFreqScrollBar1.setRange(22000, 550000);
    next.memories.loadCoarse(1, 137600);
    next.BtF1.click();
    EXPECT_EQ(next.seRfreq.value(), 137600);
    EXPECT_EQ(next.fineRfr.value(), 25);
    EXPECT_EQ(next.vfoA.frequencyWord.load(), std::llrint(137600.25 * 4096 / 16));
    next.seRfreq.setValue(140000);
    next.memories.keypadClick(7);
    EXPECT_EQ(next.seRfreq.value(), 137600);
    next.memories.BtKnFClick();
    EXPECT_TRUE(next.TForm3.visible());
    EXPECT_EQ(next.keypad[6]->caption(), "0");
    platform::setDecimalSeparator(std::nullopt);
}

TEST(Memories, UnstoredMemoryRecallsZeroAsAnyTooLowEntry) {
    FreqplanRig rig;
    rig.fineRfr.setValue(50);
    rig.memories.recall(3);
    EXPECT_EQ(rig.seRfreq.value(), 100000); // 0 → minimum 100 → pulled up by the bar's range
    EXPECT_EQ(rig.fineRfr.value(), 0);
}

TEST(Memories, FunctionKeysStoreAndStepTheFineValue) {
    FreqplanRig rig;
    rig.plan.retuneVfoA();
    rig.memories.FormShortCut(2);
    EXPECT_NE(readFile(rig.ini.path()).find("freq2=480000\r\n"), std::string::npos);
    rig.memories.FormShortCut(8);
    EXPECT_EQ(rig.fineRfr.value(), 95);
    EXPECT_EQ(rig.seRfreq.value(), 479999);
    rig.memories.FormShortCut(9);
    EXPECT_EQ(rig.fineRfr.value(), 0);
    EXPECT_EQ(rig.seRfreq.value(), 480000);
    rig.memories.FormShortCut(5);
    EXPECT_EQ(rig.fineRfr.value(), 0);
}
