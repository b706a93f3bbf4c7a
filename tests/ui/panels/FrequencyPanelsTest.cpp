// The VFO, options and memory panels on the main window's VFO controls with their design values, over a
// frequency plan, options and memories of their own.
#include "controls/CheckBox.h"
#include "controls/RadioButton.h"
#include "controls/RadioGroup.h"
#include "controls/ScrollBar.h"
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "freqplan/FreqplanRig.h"
#include "platform/Locale.h"
#include "ui/panels/MemoriesPanel.h"
#include "ui/panels/OptionsPanel.h"
#include "ui/panels/VfoPanels.h"

#include <cmath>

using namespace tarvel;
using namespace tarvel::controls;
using tarvel::mock::readFile;
using ui::panels::kGreen;
using ui::panels::kLightGrey;
using ui::panels::kOrange;

namespace {

struct PanelsRig {
    explicit PanelsRig(std::string iniPath = test::testIniPath()) : fp(std::move(iniPath)) {}

    Form TForm3{"TForm3"};
    Panel Panel1{"Panel1", "Panel1"}, PnAcol{"PnAcol"}, PnBcol{"PnBcol"};
    SpinField seRfreq{"seRfreq", 100, 2100000000, 1, 480000};
    SpinField fineRfr{"fineRfr", -100, 100, 5, 0};
    ScrollBar RFreqScrollBar1{"RFreqScrollBar1", 100000, 550000, 480000, 100, 1000};
    TextField EdFpA{"EdFpA", "0"}, EdKdel{"EdKdel", "16"};
    RadioGroup rgR{"rgR", "", {"Off", "Sine", "Squre"}, 0};
    ScrollBar LevRScrollBar1{"LevRScrollBar1", 0, 32000, 22000, 500, 2000};
    SpinField seRLev{"seRLev", 0, 32767, 200, 20000};
    Label Label9{"Label9"}, LbFoutrx{"LbFoutrx"};
    SpinField seLfreq{"seLfreq", 30000, 20000000, 10, 135700};
    RadioSet steps;
    RadioButton RBt1{"RBt1", "", steps}, RBt10{"RBt10", "", steps}, RBt100{"RBt100", "", steps},
        RBt1k{"RBt1k", "", steps};
    TextField EdFp{"EdFp", "500000"}, EdRxKdel{"EdRxKdel", "32"};
    RadioGroup rgL{"rgL", "", {"Off", "Sine", "Squre"}, 0};
    ScrollBar LevLScrollBar1{"LevLScrollBar1", 0, 32000, 22000, 500, 2000};
    SpinField seLLev{"seLLev", 0, 32767, 200, 20000};
    TextField Edit2{"Edit2", "1,00000000"};
    CheckBox ChBA{"ChBA", "VFO A"}, ChBB{"ChBB", "VFO B"};
    TextField EdminF{"EdminF", "137600"}, EdmaxF{"EdmaxF", "137800"}, Edit1{"Edit1", "Ed1"};
    Button Button2{"Button2", "Ok"}, BtKnF{"BtKnF"};
    Button BtF1{"BtF1"}, BtF2{"BtF2"}, BtF3{"BtF3"}, BtF4{"BtF4"};
    Button BtF1w{"BtF1w", "F1"}, BtF2w{"BtF2w", "F2"}, BtF3w{"BtF3w", "F3"}, BtF4w{"BtF4w", "F4"};
    std::array<std::unique_ptr<Button>, 14> keypad = makeKeypad();
    std::array<Button*, 14> keypadPointers = pointersTo(keypad);

    test::FreqplanRig fp;
    ui::panels::VfoAPanel vfoA{
        {seRfreq, fineRfr, RFreqScrollBar1, rgR, LevRScrollBar1, seRLev, Label9, PnAcol}, fp.plan};
    ui::panels::VfoBPanel vfoB{
        {seLfreq, RBt1, RBt10, RBt100, RBt1k, rgL, LevLScrollBar1, seLLev, LbFoutrx, PnBcol}, fp.plan};
    ui::panels::OptionsPanel options{
        {EdFpA, EdKdel, EdFp, EdRxKdel, Edit2, Panel1, ChBA, ChBB, EdminF, EdmaxF, Button2, RFreqScrollBar1},
        fp.plan,
        fp.options};
    ui::panels::MemoriesPanel memories{{Edit1,
                                        {&BtF1, &BtF2, &BtF3, &BtF4},
                                        {&BtF1w, &BtF2w, &BtF3w, &BtF4w},
                                        BtKnF,
                                        TForm3,
                                        keypadPointers},
                                       fp.memories,
                                       fp.plan,
                                       vfoA};

    static std::array<std::unique_ptr<Button>, 14> makeKeypad() {
        std::array<std::unique_ptr<Button>, 14> b;
        for (int j = 0; j < 14; ++j)
            b[j] = std::make_unique<Button>("Bt" + std::to_string(j + 1), std::to_string(j + 1));
        return b;
    }
    static std::array<Button*, 14> pointersTo(const std::array<std::unique_ptr<Button>, 14>& buttons) {
        std::array<Button*, 14> p{};
        for (int j = 0; j < 14; ++j)
            p[j] = buttons[j].get();
        return p;
    }

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
    EXPECT_EQ(rig.Label9.caption(), "30000");
    EXPECT_EQ(rig.Label9.color(), kOrange);

    rig.act([&] { rig.EdFpA.setText("510000"); }); // VFO A tone −30000 Hz: grey, compared signed
    rig.act([&] { rig.EdKdel.setText("1"); });
    rig.fp.plan.retuneVfoA();
    EXPECT_EQ(rig.Label9.caption(), "30000");
    EXPECT_EQ(rig.Label9.color(), kLightGrey);

    rig.act([&] { rig.EdFp.setText("500000"); }); // the design text: no change, Fp stays 0
    rig.fp.plan.retuneVfoB();
    EXPECT_EQ(rig.LbFoutrx.caption(), "4240.625");
    rig.act([&] { rig.EdFp.setText("100000"); }); // VFO B below seLfreq: magnitude compared
    rig.act([&] { rig.EdRxKdel.setText("1"); });
    rig.seLfreq.setValue(130000);
    EXPECT_EQ(rig.LbFoutrx.caption(), "30000");
    EXPECT_EQ(rig.LbFoutrx.color(), kOrange);
    rig.act([&] { rig.EdFp.setText("500000"); });
    rig.act([&] { rig.EdRxKdel.setText("32"); });
    rig.seLfreq.setValue(135700);
    EXPECT_EQ(rig.LbFoutrx.caption(), "11384.375");
    EXPECT_EQ(rig.LbFoutrx.color(), kLightGrey);
    platform::setDecimalSeparator(',');
    rig.fp.plan.retuneVfoB();
    EXPECT_EQ(rig.LbFoutrx.caption(), "11384,375");
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(VfoPanels, ZeroFactorLeavesCaptionAndBarWhereTheyWere) {
    rig.fp.plan.retuneVfoA();
    rig.act([&] { rig.EdKdel.setText("0"); });
    rig.act([&] { rig.seRfreq.setValue(200000); });
    EXPECT_EQ(rig.messages(), std::vector<std::string>{"Floating point division by zero"});
    EXPECT_EQ(rig.Label9.caption(), "30000");
    EXPECT_EQ(rig.RFreqScrollBar1.position(), 480000);
    EXPECT_EQ(rig.fp.plan.vfoACoarseHz(), 200000);
}

TEST_F(VfoPanels, TextFieldsReportConversionErrorsAndKeepValues) {
    rig.act([&] { rig.EdKdel.setText(" 12 "); });
    EXPECT_EQ(rig.fp.plan.factors().vfoAFactor, 12);
    rig.act([&] { rig.EdKdel.setText("1x"); });
    rig.act([&] { rig.EdKdel.setText(""); });
    rig.act([&] { rig.Edit2.setText("1,5"); }); // the separator here is the point
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
    rig.fineRfr.setValue(95);
    rig.fineRfr.stepUp();
    EXPECT_EQ(rig.fineRfr.value(), 0);
    EXPECT_EQ(rig.seRfreq.value(), 480001);
    EXPECT_EQ(rig.fp.plan.tunedCoarseHz(), 480001);
    EXPECT_EQ(rig.fp.plan.tunedFineCentiHz(), 0);

    rig.fineRfr.stepDown();
    EXPECT_EQ(rig.fineRfr.value(), 95);
    EXPECT_EQ(rig.seRfreq.value(), 480000);

    rig.fineRfr.setText("-3");
    EXPECT_EQ(rig.fineRfr.value(), 95);
    EXPECT_EQ(rig.seRfreq.value(), 479999);
    EXPECT_EQ(rig.wordA(), std::llrint(479999.95 * 4096 / 16));

    rig.fineRfr.setText("150"); // used as +1.50 Hz while typed
    EXPECT_EQ(rig.wordA(), std::llrint(480000.5 * 4096 / 16));
    EXPECT_EQ(rig.fp.plan.vfoAWord(), rig.wordA());
    rig.fineRfr.focusOut(); // becomes 100, which carries
    EXPECT_EQ(rig.fineRfr.value(), 0);
    EXPECT_EQ(rig.seRfreq.value(), 480000);

    rig.fineRfr.setText(""); // an empty field counts as −100 and borrows at once
    EXPECT_EQ(rig.fineRfr.value(), 95);
    EXPECT_EQ(rig.seRfreq.value(), 479999);
    EXPECT_EQ(rig.fp.plan.vfoACoarseHz(), 479999);
    EXPECT_EQ(rig.fp.plan.vfoAFineCentiHz(), 95);
}

TEST_F(VfoPanels, ScrollBarPullsTypedValuesIntoItsRange) {
    rig.seRfreq.setText("600000");
    EXPECT_EQ(rig.seRfreq.value(), 550000);
    EXPECT_EQ(rig.RFreqScrollBar1.position(), 550000);
    // The bar already stands at its maximum: the typed value stays.
    rig.seRfreq.setText("600000");
    EXPECT_EQ(rig.seRfreq.value(), 600000);
    EXPECT_EQ(rig.fp.plan.tunedCoarseHz(), 600000);

    rig.RFreqScrollBar1.setPosition(137000 + 100000);
    EXPECT_EQ(rig.seRfreq.value(), 237000);
}

TEST_F(VfoPanels, ExtremeFieldValuesWrapOrSaturateWithoutCrashing) {
    rig.RFreqScrollBar1.setRange(100, 2100000000);
    rig.seRfreq.setText("2147483647");
    rig.fineRfr.setValue(100); // carry at the top saturates, then the range clamps
    EXPECT_EQ(rig.seRfreq.value(), 2100000000);
    rig.act([&] { rig.EdFpA.setText("-2147483648"); }); // coarse − FpA wraps in 32 bits
    rig.act([&] { rig.EdKdel.setText("-1"); });
    rig.seRfreq.stepDown();
    EXPECT_TRUE(rig.messages().empty());
    const double f = static_cast<double>(freqplan::wrappingDifference(2099999999, INT32_MIN));
    EXPECT_EQ(rig.wordA(), std::llrint(f * 4096 / -1));
}

TEST_F(VfoPanels, WaveformColoursLevelBarsAndTuningSteps) {
    rig.rgR.setItemIndex(1);
    rig.rgL.setItemIndex(2);
    EXPECT_EQ(rig.fp.vfoB.waveform.load(), 2);
    EXPECT_EQ(rig.PnAcol.color(), kGreen);
    EXPECT_EQ(rig.PnBcol.color(), kGreen);
    rig.rgR.setItemIndex(0);
    EXPECT_EQ(rig.PnAcol.color(), kLightGrey);
    EXPECT_EQ(rig.fp.plan.vfoAWaveform(), 0);

    // Start loads VFO A's bar and VFO B's field, whichever moved last.
    EXPECT_EQ(rig.fp.plan.vfoALevel(), 22000);
    EXPECT_EQ(rig.fp.plan.vfoBLevel(), 20000);
    rig.LevRScrollBar1.setPosition(1000);
    EXPECT_EQ(rig.fp.vfoA.level.load(), 1000);
    EXPECT_EQ(rig.seRLev.value(), 1000);
    rig.seRLev.setValue(3000);
    EXPECT_EQ(rig.fp.vfoA.level.load(), 3000);
    EXPECT_EQ(rig.fp.plan.vfoALevel(), 1000);
    rig.LevLScrollBar1.setPosition(32000);
    EXPECT_EQ(rig.fp.vfoB.level.load(), 32000);
    EXPECT_EQ(rig.seLLev.value(), 32000);
    rig.seLLev.setValue(32767);
    EXPECT_EQ(rig.fp.plan.vfoBLevel(), 32767);
    EXPECT_EQ(rig.LevLScrollBar1.position(), 32000);

    rig.RBt100.click();
    rig.seLfreq.stepUp();
    EXPECT_EQ(rig.seLfreq.value(), 135800);
    EXPECT_EQ(rig.fp.plan.vfoBHz(), 135800);
}

TEST(OptionsPanel, TuningRangePullsFrequencyAndRefusesBadRanges) {
    PanelsRig rig;
    rig.act([&] { rig.Button2.click(); });
    EXPECT_EQ(rig.RFreqScrollBar1.maxValue(), 137800);
    EXPECT_EQ(rig.RFreqScrollBar1.minValue(), 137600);
    EXPECT_EQ(rig.seRfreq.value(), 137800);
    EXPECT_EQ(rig.wordA(), 137800LL * 4096 / 16);
    const std::string stored = rig.ini();
    EXPECT_LT(stored.find("MinF=137600\r\n"), stored.find("MaxF=137800\r\n"));

    // A maximum below the present minimum: refused, nothing written.
    rig.EdminF.setText("1000");
    rig.EdmaxF.setText("2000");
    rig.act([&] { rig.Button2.click(); });
    rig.EdmaxF.setText("abc");
    rig.act([&] { rig.Button2.click(); });
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"Scrollbar property out of range",
                                                        "'abc' is not a valid integer value"}));
    EXPECT_EQ(rig.ini(), stored);
    EXPECT_EQ(rig.RFreqScrollBar1.maxValue(), 137800);

    rig.ChBB.setChecked(true);
    EXPECT_NE(rig.ini().find("VB=1\r\n"), std::string::npos);
}

TEST(OptionsPanel, StoredRangeAtStartUp) {
    PanelsRig first;
    first.options.restoreTuningRange(0, 0);
    EXPECT_EQ(first.RFreqScrollBar1.minValue(), 22000);
    EXPECT_EQ(first.RFreqScrollBar1.maxValue(), 550000);
    EXPECT_EQ(first.EdminF.text(), "137600");

    PanelsRig low; // below the designed minimum: taken whole, no message
    low.act([&] { low.options.restoreTuningRange(30000, 50000); });
    EXPECT_EQ(low.RFreqScrollBar1.minValue(), 30000);
    EXPECT_EQ(low.RFreqScrollBar1.maxValue(), 50000);
    EXPECT_EQ(low.EdmaxF.text(), "50000");
    EXPECT_TRUE(low.messages().empty());

    PanelsRig inverted;
    inverted.act([&] { inverted.options.restoreTuningRange(600000, 500000); });
    EXPECT_EQ(inverted.RFreqScrollBar1.minValue(), 22000);
    EXPECT_TRUE(inverted.messages().empty());
}

TEST(OptionsPanel, AltXShowsTheHiddenPanel) {
    PanelsRig rig;
    rig.Panel1.hide();
    rig.options.FormKeyDown('X', false);
    EXPECT_FALSE(rig.Panel1.visible());
    rig.options.FormKeyDown('X', true);
    EXPECT_TRUE(rig.Panel1.visible());
}

TEST(MemoriesPanel, StoreAndRecallWithFineValuesAcrossARestart) {
    platform::setDecimalSeparator(',');
    std::string path;
    {
        PanelsRig rig;
        path = rig.fp.ini.path();
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
    PanelsRig next(path); // a later run: fine copies start at 0, recall reads the file
    next.RFreqScrollBar1.setRange(22000, 550000);
    next.memories.loadCoarse(1, 137600);
    EXPECT_EQ(next.BtF1.caption(), "137600");
    next.BtF1.click();
    EXPECT_EQ(next.seRfreq.value(), 137600);
    EXPECT_EQ(next.fineRfr.value(), 25);
    EXPECT_EQ(next.wordA(), std::llrint(137600.25 * 4096 / 16));
    next.seRfreq.setValue(140000);
    next.memories.keypadClick(7);
    EXPECT_EQ(next.seRfreq.value(), 137600);
    next.BtKnF.click();
    EXPECT_TRUE(next.TForm3.visible());
    EXPECT_EQ(next.keypad[6]->caption(), "0");
    platform::setDecimalSeparator(std::nullopt);
}

TEST(MemoriesPanel, UnstoredMemoryRecallsZeroAsAnyTooLowEntry) {
    PanelsRig rig;
    rig.fineRfr.setValue(50);
    rig.memories.recall(3);
    EXPECT_EQ(rig.seRfreq.value(), 100000); // 0 → minimum 100 → pulled up by the bar's range
    EXPECT_EQ(rig.fineRfr.value(), 0);
}

TEST(MemoriesPanel, FunctionKeysStoreAndStepTheFineValue) {
    PanelsRig rig;
    rig.fp.plan.retuneVfoA();
    rig.memories.FormShortCut(2);
    EXPECT_NE(rig.ini().find("freq2=480000\r\n"), std::string::npos);
    rig.memories.FormShortCut(8);
    EXPECT_EQ(rig.fineRfr.value(), 95);
    EXPECT_EQ(rig.seRfreq.value(), 479999);
    rig.memories.FormShortCut(9);
    EXPECT_EQ(rig.fineRfr.value(), 0);
    EXPECT_EQ(rig.seRfreq.value(), 480000);
    rig.memories.FormShortCut(5);
    EXPECT_EQ(rig.fineRfr.value(), 0);
}
