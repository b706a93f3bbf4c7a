// The VFO, options and memory panels on the main window's VFO controls with their design values, over a
// frequency plan, options and memories of their own.
#include "freqplan/FreqplanRig.h"
#include "platform/Locale.h"
#include "ui/forms/KeypadForm.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/MemoriesPanel.h"
#include "ui/panels/OptionsPanel.h"
#include "ui/panels/VfoPanels.h"

#include <cmath>

using namespace tarvel;
using namespace tarvel::ui::controls;
using tarvel::mock::readFile;
using ui::panels::kGreen;
using ui::panels::kLightGrey;
using ui::panels::kOrange;

namespace {

struct PanelsRig {
    explicit PanelsRig(std::string iniPath = mock::scratchSettingsPath()) : fp(std::move(iniPath)) {}

    ui::forms::MainForm form;
    ui::forms::KeypadForm keypad;
    test::FreqplanRig fp;
    ui::panels::VfoAPanel vfoA{form, fp.plan};
    ui::panels::VfoBPanel vfoB{form, fp.plan};
    ui::panels::OptionsPanel options{form, fp.plan, fp.options, vfoA};
    ui::panels::MemoriesPanel memories{form, keypad, fp.memories, fp.plan, vfoA};

    void act(const std::function<void()>& f) { fp.act(f); }
    const std::vector<std::string>& messages() const { return fp.sink.messages; }
    std::string ini() const { return readFile(fp.ini.path()); }
    std::int64_t wordA() const { return fp.vfoA.frequencyWord.load(); }
};

class VfoPanels : public ::testing::Test {
protected:
    void SetUp() override { platform::setDecimalSeparator('.'); }
    void TearDown() override { platform::setDecimalSeparator(std::nullopt); }
    PanelsRig rig;
};

} // namespace

TEST_F(VfoPanels, TonesShowAsCaptionsAndColours) {
    rig.fp.plan.retuneVfoA();
    EXPECT_EQ(rig.form.Label9.caption(), "30000");
    EXPECT_EQ(rig.form.Label9.color(), kOrange);

    rig.act([&] { rig.form.EdFpA.setText("510000"); }); // VFO A tone −30000 Hz: grey, compared signed
    rig.act([&] { rig.form.EdKdel.setText("1"); });
    rig.fp.plan.retuneVfoA();
    EXPECT_EQ(rig.form.Label9.caption(), "30000");
    EXPECT_EQ(rig.form.Label9.color(), kLightGrey);

    rig.act([&] { rig.form.EdFp.setText("500000"); }); // the design text: no change, Fp stays 0
    rig.fp.plan.retuneVfoB();
    EXPECT_EQ(rig.form.LbFoutrx.caption(), "4240.625");
    rig.act([&] { rig.form.EdFp.setText("100000"); }); // VFO B below seLfreq: magnitude compared
    rig.act([&] { rig.form.EdRxKdel.setText("1"); });
    rig.form.seLfreq.setValue(130000);
    EXPECT_EQ(rig.form.LbFoutrx.caption(), "30000");
    EXPECT_EQ(rig.form.LbFoutrx.color(), kOrange);
    rig.act([&] { rig.form.EdFp.setText("500000"); });
    rig.act([&] { rig.form.EdRxKdel.setText("32"); });
    rig.form.seLfreq.setValue(135700);
    EXPECT_EQ(rig.form.LbFoutrx.caption(), "11384.375");
    EXPECT_EQ(rig.form.LbFoutrx.color(), kLightGrey);
    platform::setDecimalSeparator(',');
    rig.fp.plan.retuneVfoB();
    EXPECT_EQ(rig.form.LbFoutrx.caption(), "11384,375");
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(VfoPanels, ZeroFactorLeavesCaptionAndBarWhereTheyWere) {
    rig.fp.plan.retuneVfoA();
    rig.act([&] { rig.form.EdKdel.setText("0"); });
    rig.act([&] { rig.form.seRfreq.setValue(200000); });
    EXPECT_EQ(rig.messages(),
              std::vector<std::string>{"Floating point division by zero: VFO A multiplier (N) is 0"});
    EXPECT_EQ(rig.form.Label9.caption(), "30000");
    EXPECT_EQ(rig.form.RFreqScrollBar1.position(), 480000);
    EXPECT_EQ(rig.fp.plan.vfoACoarseHz(), 200000);
}

TEST_F(VfoPanels, TextFieldsReportConversionErrorsAndKeepValues) {
    rig.act([&] { rig.form.EdKdel.setText("\t16 \t"); }); // pasted with a tab
    EXPECT_EQ(rig.fp.plan.factors().vfoAFactor, 16);
    rig.act([&] { rig.form.EdKdel.setText(" 12 "); });
    EXPECT_EQ(rig.fp.plan.factors().vfoAFactor, 12);
    rig.act([&] { rig.form.EdKdel.setText("1x"); });
    rig.act([&] { rig.form.EdKdel.setText(""); });
    rig.act([&] { rig.form.Edit2.setText("1,5"); }); // the separator here is the point
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"'1x' is not a valid integer value",
                                                        "'' is not a valid integer value",
                                                        "'1,5' is not a valid floating point value"}));
    EXPECT_EQ(rig.fp.plan.factors().vfoAFactor, 12);
    EXPECT_EQ(rig.fp.plan.factors().correction, 1.0);
    const std::string file = rig.ini();
    EXPECT_NE(file.find("N=12\r\n"), std::string::npos);
    EXPECT_EQ(file.find("corr"), std::string::npos);
}

TEST_F(VfoPanels, FineValueCarriesIntoCoarseValue) {
    rig.form.fineRfr.setValue(95);
    rig.form.fineRfr.stepUp();
    EXPECT_EQ(rig.form.fineRfr.value(), 0);
    EXPECT_EQ(rig.form.seRfreq.value(), 480001);
    EXPECT_EQ(rig.fp.plan.tunedCoarseHz(), 480001);
    EXPECT_EQ(rig.fp.plan.tunedFineCentiHz(), 0);

    rig.form.fineRfr.stepDown();
    EXPECT_EQ(rig.form.fineRfr.value(), 95);
    EXPECT_EQ(rig.form.seRfreq.value(), 480000);

    rig.form.fineRfr.setText("-3");
    EXPECT_EQ(rig.form.fineRfr.value(), 95);
    EXPECT_EQ(rig.form.seRfreq.value(), 479999);
    EXPECT_EQ(rig.wordA(), std::llrint(479999.95 * 4096 / 16));

    rig.form.fineRfr.setText("150"); // used as +1.50 Hz while typed
    EXPECT_EQ(rig.wordA(), std::llrint(480000.5 * 4096 / 16));
    EXPECT_EQ(rig.fp.plan.vfoAWord(), rig.wordA());
    rig.form.fineRfr.focusOut(); // becomes 100, which carries
    EXPECT_EQ(rig.form.fineRfr.value(), 0);
    EXPECT_EQ(rig.form.seRfreq.value(), 480000);

    rig.form.fineRfr.setText(""); // an empty field counts as −100 and borrows at once
    EXPECT_EQ(rig.form.fineRfr.value(), 95);
    EXPECT_EQ(rig.form.seRfreq.value(), 479999);
    EXPECT_EQ(rig.fp.plan.vfoACoarseHz(), 479999);
    EXPECT_EQ(rig.fp.plan.vfoAFineCentiHz(), 95);
}

TEST_F(VfoPanels, ScrollBarPullsTypedValuesIntoItsRange) {
    rig.form.seRfreq.setText("600000");
    EXPECT_EQ(rig.form.seRfreq.value(), 550000);
    EXPECT_EQ(rig.form.RFreqScrollBar1.position(), 550000);
    // The bar already stands at its maximum: the typed value stays.
    rig.form.seRfreq.setText("600000");
    EXPECT_EQ(rig.form.seRfreq.value(), 600000);
    EXPECT_EQ(rig.fp.plan.tunedCoarseHz(), 600000);

    rig.form.RFreqScrollBar1.setPosition(137000 + 100000);
    EXPECT_EQ(rig.form.seRfreq.value(), 237000);
}

TEST_F(VfoPanels, APullIntoTheRangeTunesOnlyOnceThePlanHasToldEveryListener) {
    // A listener after the panel: VFO A's coarse value at each tone it is told.
    std::vector<std::int32_t> told;
    rig.fp.plan.onVfoATone.connect(
        [&](const freqplan::Tone&) { told.push_back(rig.fp.plan.vfoACoarseHz()); });
    rig.form.seRfreq.setText("600000");
    // Each tone in the order tuned: the last one told is the one that plays.
    EXPECT_EQ(told, (std::vector<std::int32_t>{600000, 550000}));
    EXPECT_EQ(rig.fp.plan.tunedCoarseHz(), 550000);
}

TEST_F(VfoPanels, ExtremeFieldValuesWrapOrSaturateWithoutCrashing) {
    rig.form.RFreqScrollBar1.setRange(100, 2100000000);
    rig.form.seRfreq.setText("2147483647");
    rig.form.fineRfr.setValue(100); // carry at the top saturates, then the range clamps
    EXPECT_EQ(rig.form.seRfreq.value(), 2100000000);
    rig.act([&] { rig.form.EdFpA.setText("-2147483648"); }); // coarse − FpA wraps in 32 bits
    rig.act([&] { rig.form.EdKdel.setText("-1"); });
    rig.form.seRfreq.stepDown();
    EXPECT_TRUE(rig.messages().empty());
    const double f = static_cast<double>(freqplan::wrappingDifference(2099999999, INT32_MIN));
    EXPECT_EQ(rig.wordA(), std::llrint(f * 4096 / -1));
}

TEST_F(VfoPanels, WaveformColoursLevelBarsAndTuningSteps) {
    rig.form.rgR.setItemIndex(1);
    rig.form.rgL.setItemIndex(2);
    EXPECT_EQ(rig.fp.vfoB.waveform.load(), 2);
    EXPECT_EQ(rig.form.PnAcol.color(), kGreen);
    EXPECT_EQ(rig.form.PnBcol.color(), kGreen);
    rig.form.rgR.setItemIndex(0);
    EXPECT_EQ(rig.form.PnAcol.color(), kLightGrey);
    EXPECT_EQ(rig.fp.plan.vfoAWaveform(), synth::WaveformKind::Off);

    // Start loads VFO A's bar and VFO B's field, whichever moved last.
    EXPECT_EQ(rig.fp.plan.vfoALevel(), 22000);
    EXPECT_EQ(rig.fp.plan.vfoBLevel(), 20000);
    rig.form.LevRScrollBar1.setPosition(1000);
    EXPECT_EQ(rig.fp.vfoA.level.load(), 1000);
    EXPECT_EQ(rig.form.seRLev.value(), 1000);
    rig.form.seRLev.setValue(3000);
    EXPECT_EQ(rig.fp.vfoA.level.load(), 3000);
    EXPECT_EQ(rig.fp.plan.vfoALevel(), 1000);
    rig.form.LevLScrollBar1.setPosition(32000);
    EXPECT_EQ(rig.fp.vfoB.level.load(), 32000);
    EXPECT_EQ(rig.form.seLLev.value(), 32000);
    rig.form.seLLev.setValue(32767);
    EXPECT_EQ(rig.fp.plan.vfoBLevel(), 32767);
    EXPECT_EQ(rig.form.LevLScrollBar1.position(), 32000);

    rig.form.RBt100.click();
    rig.form.seLfreq.stepUp();
    EXPECT_EQ(rig.form.seLfreq.value(), 135800);
    EXPECT_EQ(rig.fp.plan.vfoBHz(), 135800);
}

TEST(OptionsPanel, TuningRangePullsFrequencyAndRefusesBadRanges) {
    PanelsRig rig;
    rig.act([&] { rig.form.Button2.click(); });
    EXPECT_EQ(rig.form.RFreqScrollBar1.maxValue(), 137800);
    EXPECT_EQ(rig.form.RFreqScrollBar1.minValue(), 137600);
    EXPECT_EQ(rig.form.seRfreq.value(), 137800);
    EXPECT_EQ(rig.wordA(), 137800LL * 4096 / 16);
    const std::string stored = rig.ini();
    EXPECT_LT(stored.find("MinF=137600\r\n"), stored.find("MaxF=137800\r\n"));

    // A maximum below the present minimum: refused, nothing written.
    rig.form.EdminF.setText("1000");
    rig.form.EdmaxF.setText("2000");
    rig.act([&] { rig.form.Button2.click(); });
    rig.form.EdmaxF.setText("abc");
    rig.act([&] { rig.form.Button2.click(); });
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"Scrollbar property out of range",
                                                        "'abc' is not a valid integer value"}));
    EXPECT_EQ(rig.ini(), stored);
    EXPECT_EQ(rig.form.RFreqScrollBar1.maxValue(), 137800);
}

TEST(OptionsPanel, StoredRangeAtStartUp) {
    PanelsRig first;
    first.options.restoreTuningRange(0, 0);
    EXPECT_EQ(first.form.RFreqScrollBar1.minValue(), 22000);
    EXPECT_EQ(first.form.RFreqScrollBar1.maxValue(), 550000);
    EXPECT_EQ(first.form.EdminF.text(), "137600");

    PanelsRig low; // below the designed minimum: taken whole, no message
    low.act([&] { low.options.restoreTuningRange(30000, 50000); });
    EXPECT_EQ(low.form.RFreqScrollBar1.minValue(), 30000);
    EXPECT_EQ(low.form.RFreqScrollBar1.maxValue(), 50000);
    EXPECT_EQ(low.form.EdmaxF.text(), "50000");
    EXPECT_TRUE(low.messages().empty());

    PanelsRig inverted;
    inverted.act([&] { inverted.options.restoreTuningRange(600000, 500000); });
    EXPECT_EQ(inverted.form.RFreqScrollBar1.minValue(), 22000);
    EXPECT_TRUE(inverted.messages().empty());
}

TEST(OptionsPanel, AltXShowsTheHiddenPanel) {
    PanelsRig rig;
    rig.form.Panel1.hide();
    rig.options.keyPressed('X', false);
    EXPECT_FALSE(rig.form.Panel1.visible());
    rig.options.keyPressed('X', true);
    EXPECT_TRUE(rig.form.Panel1.visible());
}

TEST(MemoriesPanel, StoreAndRecallWithFineValuesAcrossARestart) {
    platform::setDecimalSeparator(',');
    std::string path;
    {
        PanelsRig rig;
        path = rig.fp.ini.path();
        rig.form.RFreqScrollBar1.setRange(22000, 550000);
        rig.form.seRfreq.setValue(137600);
        rig.form.fineRfr.setValue(25);
        rig.form.BtF1w.click();
        EXPECT_EQ(rig.form.BtF1.caption(), "137600");
        rig.memories.keypadMouseDown(7, ui::controls::MouseButton::Right); // memory 11
        EXPECT_EQ(rig.keypad.Bt7.caption(), "137,6");
        EXPECT_EQ(rig.keypad.Bt6.caption(), "6");
        rig.memories.keypadMouseDown(8, ui::controls::MouseButton::Left); // a left press stores nothing
        const std::string file = readFile(path);
        EXPECT_NE(file.find("freq1=137600\r\n01x1=25\r\n"), std::string::npos);
        EXPECT_NE(file.find("freq11=137600\r\n01x11=25\r\n"), std::string::npos);
        EXPECT_EQ(file.find("freq12"), std::string::npos);
    }
    PanelsRig next(path); // a later run: fine copies start at 0, recall reads the file
    next.form.RFreqScrollBar1.setRange(22000, 550000);
    next.fp.memories.loadCoarse(1, 137600);
    next.memories.showCaptions();
    EXPECT_EQ(next.form.BtF1.caption(), "137600");
    next.form.BtF1.click();
    EXPECT_EQ(next.form.seRfreq.value(), 137600);
    EXPECT_EQ(next.form.fineRfr.value(), 25);
    EXPECT_EQ(next.wordA(), std::llrint(137600.25 * 4096 / 16));
    next.form.seRfreq.setValue(140000);
    next.memories.keypadClick(7);
    EXPECT_EQ(next.form.seRfreq.value(), 137600);
    next.form.BtKnF.click();
    EXPECT_TRUE(next.keypad.TForm3.visible());
    EXPECT_EQ(next.keypad.Bt7.caption(), "0");
    platform::setDecimalSeparator(std::nullopt);
}

TEST(MemoriesPanel, UnstoredMemoryRecallsZeroAsAnyTooLowEntry) {
    PanelsRig rig;
    rig.form.fineRfr.setValue(50);
    rig.memories.recall(3);
    EXPECT_EQ(rig.form.seRfreq.value(), 100000); // 0 → minimum 100 → pulled up by the bar's range
    EXPECT_EQ(rig.form.fineRfr.value(), 0);
}

TEST(MemoriesPanel, FunctionKeysStoreAndStepTheFineValue) {
    PanelsRig rig;
    rig.fp.plan.retuneVfoA();
    rig.memories.functionKeyPressed(2);
    EXPECT_NE(rig.ini().find("freq2=480000\r\n"), std::string::npos);
    rig.memories.functionKeyPressed(8);
    EXPECT_EQ(rig.form.fineRfr.value(), 95);
    EXPECT_EQ(rig.form.seRfreq.value(), 479999);
    rig.memories.functionKeyPressed(9);
    EXPECT_EQ(rig.form.fineRfr.value(), 0);
    EXPECT_EQ(rig.form.seRfreq.value(), 480000);
    rig.memories.functionKeyPressed(5);
    EXPECT_EQ(rig.form.fineRfr.value(), 0);
}
