#include "keyer/Presets.h"

#include "mock/Files.h"
#include "mock/VirtualTime.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using namespace tarvel;

namespace tarvel::keyer {
// Readable failures: the six values instead of the object's bytes.
void PrintTo(const KeyingValues& v, std::ostream* os) {
    *os << "{TT " << v.TT << ", dash " << v.dashFactor << ", gap /" << v.gapDivisor << ", letter "
        << v.letterGapFactor << ", shift " << v.dfcwShift << ", dfcw " << v.dfcwMode << "}";
}
} // namespace tarvel::keyer
using controls::MouseButton;
using keyer::KeyingValues;

namespace {

struct PresetRig {
    PresetRig() {
        std::filesystem::remove("presets.ini");
        // The keyer's timer is armed as during a transmission: no preset may touch it.
        Timer1->setInterval(60000);
        Timer1->setEnabled(true);
    }

    controls::Button Button5{"Button5", "CW"};
    controls::Label Lbmode{"Lbmode", "  CW"};
    controls::Button BtQRSS1{"BtQRSS1", "1"}, Button6{"Button6", "3"}, Btqrss10{"Btqrss10", "10"},
        Btqrss20{"Btqrss20", "20"}, Btqrss30{"Btqrss30", "30"}, Btqrss60{"Btqrss60", "60"},
        Btqrss90{"Btqrss90", "90"}, Btqrss120{"Btqrss120", "120"};
    controls::Button BtDFCW3{"BtDFCW3", "3"}, BtDFCW10{"BtDFCW10", "10"}, Btdfcw20{"Btdfcw20", "20"},
        Btdfcw30{"Btdfcw30", "30"}, btDFCW60{"btDFCW60", "60"}, BtDFCW90{"BtDFCW90", "90"},
        Btdfcw120{"Btdfcw120", "120"}, Btdfcw240{"Btdfcw240", "240"};
    controls::Button Btdfcw60i{"Btdfcw60i", "60+"};
    controls::Panel PnBtdfcw{"PnBtdfcw"};
    controls::SpinField SpDot{"SpDot", 1, 3600, 1, 5};
    controls::SpinField SpDash{"SpDash", 1, 3, 1, 1};
    controls::SpinField SpLp{"SpLp", 1, 10, 1, 2};
    controls::SpinField SpBigp{"SpBigp", 1, 3, 1, 3};
    controls::SpinField SpShift{"SpShift", 0, 200000, 10, 20};
    controls::Button Button9{"Button9", "Ok"};

    mock::VirtualTime time;
    std::unique_ptr<mock::VirtualTimer> Timer1 = time.makeTimer();
    settings::IniFile ini{"presets.ini"};
    keyer::KeyerState state;
    int estimates = 0;

    keyer::Presets presets{{Button5,  Lbmode,   BtQRSS1,   Button6,   Btqrss10,  Btqrss20, Btqrss30,
                            Btqrss60, Btqrss90, Btqrss120, BtDFCW3,   BtDFCW10,  Btdfcw20, Btdfcw30,
                            btDFCW60, BtDFCW90, Btdfcw120, Btdfcw240, Btdfcw60i, PnBtdfcw, SpDot,
                            SpDash,   SpLp,     SpBigp,    SpShift,   Button9},
                           state,
                           ini,
                           {[this] { ++estimates; }}};

    std::vector<controls::Button*> speed() {
        return {&BtQRSS1, &Button6,  &Btqrss10, &Btqrss20, &Btqrss30, &Btqrss60, &Btqrss90,  &Btqrss120,
                &BtDFCW3, &BtDFCW10, &Btdfcw20, &Btdfcw30, &btDFCW60, &BtDFCW90, &Btdfcw120, &Btdfcw240};
    }
    std::vector<std::string> captions() {
        std::vector<std::string> out;
        for (auto* b : speed())
            out.push_back(b->caption());
        return out;
    }
};

const std::vector<std::string> kPlain{"1", "3",  "10", "20", "30", "60", "90",  "120",
                                      "3", "10", "20", "30", "60", "90", "120", "240"};

} // namespace

TEST(Presets, EachButtonSetsItsModeMarksOnlyItselfAndRefreshesTheEstimate) {
    struct Row {
        int button; // index into speed(), -1 for CW
        const char* label;
        KeyingValues values;
    };
    const std::vector<Row> rows{
        {-1, " CW", {100, 3, 1, 3, 0, 0}},         {0, "QRSS1", {1000, 3, 1, 3, 0, 0}},
        {1, "QRSS3", {3000, 3, 1, 3, 0, 0}},       {2, "QRSS10", {10000, 3, 1, 3, 0, 0}},
        {3, "QRSS20", {20000, 3, 1, 3, 0, 0}},     {4, "QRSS30", {30000, 3, 1, 3, 0, 0}},
        {5, "QRSS60", {60000, 3, 1, 3, 0, 0}},     {6, "QRSS90", {90000, 3, 1, 3, 0, 0}},
        {7, "QRSS120", {120000, 3, 1, 3, 0, 0}},   {8, "DFCW3", {3000, 1, 3, 2, 200, 1}},
        {9, "DFCW10", {10000, 1, 4, 2, 100, 1}},   {10, "DFCW20", {20000, 1, 4, 2, 70, 1}},
        {11, "DFCW30", {30000, 1, 3, 2, 40, 1}},   {12, "DFCW60", {60000, 1, 2, 3, 20, 1}},
        {13, "DFCW90", {90000, 1, 2, 2, 20, 1}},   {14, "DFCW120", {120000, 1, 2, 2, 20, 1}},
        {15, "DFCW240", {240000, 1, 2, 2, 10, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        PresetRig rig;
        rig.Btdfcw20.click(); // a marked button from before, which every other choice must clear
        const int estimatesBefore = rig.estimates;
        const auto deadline = rig.Timer1->deadline();

        (row.button < 0 ? rig.Button5 : *rig.speed()[row.button]).click();

        EXPECT_EQ(rig.state.keying, row.values);
        EXPECT_EQ(rig.Lbmode.caption(), row.label);
        auto expected = kPlain;
        if (row.button >= 0)
            expected[row.button] = ">" + expected[row.button] + "<";
        EXPECT_EQ(rig.captions(), expected);
        EXPECT_EQ(rig.estimates, estimatesBefore + 1);
        // Nothing else: no timer, no transmission state, no custom mode, no settings.
        EXPECT_TRUE(rig.Timer1->enabled());
        EXPECT_EQ(rig.Timer1->deadline(), deadline);
        EXPECT_EQ(rig.state.savedMode, KeyingValues{});
        EXPECT_EQ(rig.state.txActive, 0);
        EXPECT_EQ(rig.state.kk, 1);
        EXPECT_EQ(rig.Btdfcw60i.caption(), "60+");
        EXPECT_FALSE(std::filesystem::exists("presets.ini"));
    }
}

TEST(CustomMode, RightPressAppliesTheSpinValuesButLeavesTheDisplay) {
    PresetRig rig;
    rig.presets.Btqrss60Click();
    rig.PnBtdfcw.hide();
    rig.SpDot.setValue(7);
    rig.SpShift.setValue(30);

    rig.Btdfcw60i.mouseDown(MouseButton::Left); // a left press belongs to the click
    EXPECT_FALSE(rig.PnBtdfcw.visible());
    EXPECT_EQ(rig.state.keying.TT, 60000);

    rig.Btdfcw60i.mouseDown(MouseButton::Right);
    EXPECT_TRUE(rig.PnBtdfcw.visible());
    EXPECT_EQ(rig.state.keying, (KeyingValues{7000, 1, 2, 3, 30, 1}));
    EXPECT_EQ(rig.Lbmode.caption(), "QRSS60");
    EXPECT_EQ(rig.Btqrss60.caption(), ">60<");
    EXPECT_EQ(rig.estimates, 1);

    // Edited afterwards: only remembered until the next press on the custom button.
    rig.SpDot.stepUp();
    EXPECT_EQ(rig.presets.customMode().Dot, 8);
    EXPECT_EQ(rig.state.keying.TT, 7000);
    rig.Btdfcw60i.mouseDown(MouseButton::Right);
    EXPECT_EQ(rig.state.keying.TT, 8000);
}

TEST(CustomMode, LeftClickAppliesLabelsClearsMarksAndEstimates) {
    PresetRig rig;
    rig.presets.Btdfcw20Click();
    rig.SpDot.setValue(60);
    rig.SpDash.setValue(3);
    rig.SpLp.setValue(4);
    rig.SpBigp.setValue(2);
    rig.SpShift.setValue(0);

    rig.Btdfcw60i.click();
    EXPECT_EQ(rig.Lbmode.caption(), "qrss60");
    // DFCW handling even without a shift.
    EXPECT_EQ(rig.state.keying, (KeyingValues{60000, 3, 4, 2, 0, 1}));
    EXPECT_EQ(rig.captions(), kPlain);
    EXPECT_EQ(rig.estimates, 2);
    EXPECT_EQ(rig.Btdfcw60i.caption(), "60+"); // a click does not relabel the button

    rig.SpDot.setValue(3600);
    rig.SpShift.setValue(10);
    rig.Btdfcw60i.click();
    EXPECT_EQ(rig.state.keying.TT, 3600000);
    EXPECT_EQ(rig.Lbmode.caption(), "dfcw3600");
}

TEST(CustomMode, TypedValuesOutsideTheRangesAreBroughtInside) {
    PresetRig rig;
    rig.SpLp.setText("0");         // would divide the dot by zero
    rig.SpDot.setText("99999999"); // would overflow the dot length in ms
    rig.SpShift.setText("-5");
    rig.SpDash.setText("abc"); // not a number: the field's minimum
    rig.Btdfcw60i.click();
    EXPECT_EQ(rig.state.keying, (KeyingValues{3600000, 1, 1, 3, 0, 1}));
    EXPECT_EQ(rig.Lbmode.caption(), "qrss3600");
}

TEST(CustomMode, OkStoresTheFiveKeysInOrderAndRelabelsOnly) {
    PresetRig rig;
    rig.Btdfcw60i.mouseDown(MouseButton::Right);
    const KeyingValues applied = rig.state.keying;
    rig.SpDot.setValue(12);
    rig.SpBigp.setValue(1);

    rig.Button9.click();
    EXPECT_FALSE(rig.PnBtdfcw.visible());
    EXPECT_EQ(rig.Btdfcw60i.caption(), "dfcw12");
    EXPECT_EQ(rig.state.keying, applied);
    EXPECT_EQ(rig.Lbmode.caption(), "  CW");
    EXPECT_EQ(rig.estimates, 0);
    EXPECT_EQ(mock::readFile("presets.ini"),
              "[Param]\r\nDot=12\r\nDash=1\r\npause=2\r\nBpause=1\r\nshiftFr=20\r\n");

    // Start-up loads the spin fields, takes them over and labels the button; nothing is applied.
    rig.SpDot.setValue(5);
    rig.SpShift.setValue(0);
    rig.presets.readCustomMode();
    rig.presets.showCustomLabel();
    EXPECT_EQ(rig.Btdfcw60i.caption(), "qrss5");
    EXPECT_EQ(rig.state.keying, applied);
}
