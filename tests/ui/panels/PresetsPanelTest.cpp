// The keying mode buttons, their marks and the mode label, and the custom mode's button and pop-up.
#include "ui/panels/KeyerPanelsRig.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

using namespace tarvel;
using namespace tarvel::test;
using keyer::KeyingValues;
constexpr auto Off = keyer::DfcwMode::Off;
constexpr auto Dfcw = keyer::DfcwMode::Dfcw;
using ui::controls::MouseButton;

namespace {

struct PresetRig : KeyerPanelsRig {
    PresetRig() {
        // The keyer's timer is armed as during a transmission: no preset may touch it.
        timer1->setInterval(60000);
        timer1->setEnabled(true);
        // Counted from here on, past what setting up the panels refreshed.
        estimates = 0;
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
        {-1, " CW", {100, 3, 1, 3, 0, Off}},          {0, "QRSS1", {1000, 3, 1, 3, 0, Off}},
        {1, "QRSS3", {3000, 3, 1, 3, 0, Off}},        {2, "QRSS10", {10000, 3, 1, 3, 0, Off}},
        {3, "QRSS20", {20000, 3, 1, 3, 0, Off}},      {4, "QRSS30", {30000, 3, 1, 3, 0, Off}},
        {5, "QRSS60", {60000, 3, 1, 3, 0, Off}},      {6, "QRSS90", {90000, 3, 1, 3, 0, Off}},
        {7, "QRSS120", {120000, 3, 1, 3, 0, Off}},    {8, "DFCW3", {3000, 1, 3, 2, 200, Dfcw}},
        {9, "DFCW10", {10000, 1, 4, 2, 100, Dfcw}},   {10, "DFCW20", {20000, 1, 4, 2, 70, Dfcw}},
        {11, "DFCW30", {30000, 1, 3, 2, 40, Dfcw}},   {12, "DFCW60", {60000, 1, 2, 3, 20, Dfcw}},
        {13, "DFCW90", {90000, 1, 2, 2, 20, Dfcw}},   {14, "DFCW120", {120000, 1, 2, 2, 20, Dfcw}},
        {15, "DFCW240", {240000, 1, 2, 2, 10, Dfcw}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        PresetRig rig;
        rig.main.Btdfcw20.click(); // a marked button from before, which every other choice must clear
        const int estimatesBefore = rig.estimates;
        const auto deadline = rig.timer1->deadline();

        (row.button < 0 ? rig.main.Button5 : *rig.speed()[row.button]).click();

        EXPECT_EQ(rig.transmission.keying(), row.values);
        EXPECT_EQ(rig.main.Lbmode.caption(), row.label);
        auto expected = kPlain;
        if (row.button >= 0)
            expected[row.button] = ">" + expected[row.button] + "<";
        EXPECT_EQ(rig.captions(), expected);
        EXPECT_EQ(rig.estimates, estimatesBefore + 1);
        // Nothing else: no timer, no transmission state, no custom mode, no settings.
        EXPECT_TRUE(rig.timer1->enabled());
        EXPECT_EQ(rig.timer1->deadline(), deadline);
        EXPECT_EQ(rig.transmission.savedMode(), KeyingValues{});
        EXPECT_FALSE(rig.transmission.messageRunning());
        EXPECT_EQ(rig.transmission.position(), 1);
        EXPECT_EQ(rig.main.Btdfcw60i.caption(), "60+");
        EXPECT_FALSE(std::filesystem::exists(rig.fp.ini.path()));
    }
}

TEST(CustomMode, RightPressAppliesTheSpinValuesButLeavesTheDisplay) {
    PresetRig rig;
    rig.main.Btqrss60.click();
    rig.main.PnBtdfcw.hide();
    rig.main.SpDot.setValue(7);
    rig.main.SpShift.setValue(30);

    rig.main.Btdfcw60i.mouseDown(MouseButton::Left); // a left press belongs to the click
    EXPECT_FALSE(rig.main.PnBtdfcw.visible());
    EXPECT_EQ(rig.transmission.keying().dotMs, 60000);

    rig.main.Btdfcw60i.mouseDown(MouseButton::Right);
    EXPECT_TRUE(rig.main.PnBtdfcw.visible());
    EXPECT_EQ(rig.transmission.keying(), (KeyingValues{7000, 1, 2, 3, 30, Dfcw}));
    EXPECT_EQ(rig.main.Lbmode.caption(), "QRSS60");
    EXPECT_EQ(rig.main.Btqrss60.caption(), ">60<");
    EXPECT_EQ(rig.estimates, 1);

    // Edited afterwards: only remembered until the next press on the custom button.
    rig.main.SpDot.stepUp();
    EXPECT_EQ(rig.presets.customMode().dotSeconds, 8);
    EXPECT_EQ(rig.transmission.keying().dotMs, 7000);
    rig.main.Btdfcw60i.mouseDown(MouseButton::Right);
    EXPECT_EQ(rig.transmission.keying().dotMs, 8000);
}

TEST(CustomMode, LeftClickAppliesLabelsClearsMarksAndEstimates) {
    PresetRig rig;
    rig.main.Btdfcw20.click();
    rig.main.SpDot.setValue(60);
    rig.main.SpDash.setValue(3);
    rig.main.SpLp.setValue(4);
    rig.main.SpBigp.setValue(2);
    rig.main.SpShift.setValue(0);

    rig.main.Btdfcw60i.click();
    EXPECT_EQ(rig.main.Lbmode.caption(), "qrss60");
    // DFCW handling even without a shift.
    EXPECT_EQ(rig.transmission.keying(), (KeyingValues{60000, 3, 4, 2, 0, Dfcw}));
    EXPECT_EQ(rig.captions(), kPlain);
    EXPECT_EQ(rig.estimates, 2);
    EXPECT_EQ(rig.main.Btdfcw60i.caption(), "60+"); // a click does not relabel the button

    rig.main.SpDot.setValue(3600);
    rig.main.SpShift.setValue(10);
    rig.main.Btdfcw60i.click();
    EXPECT_EQ(rig.transmission.keying().dotMs, 3600000);
    EXPECT_EQ(rig.main.Lbmode.caption(), "dfcw3600");
}

TEST(CustomMode, TypedValuesOutsideTheRangesAreBroughtInside) {
    PresetRig rig;
    rig.main.SpLp.setText("0");         // would divide the dot by zero
    rig.main.SpDot.setText("99999999"); // would overflow the dot length in ms
    rig.main.SpShift.setText("-5");
    rig.main.SpDash.setText("abc"); // not a number: the field's minimum
    rig.main.Btdfcw60i.click();
    EXPECT_EQ(rig.transmission.keying(), (KeyingValues{3600000, 1, 1, 3, 0, Dfcw}));
    EXPECT_EQ(rig.main.Lbmode.caption(), "qrss3600");
}

TEST(CustomMode, OkStoresTheFiveKeysInOrderAndRelabelsOnly) {
    PresetRig rig;
    rig.main.Btdfcw60i.mouseDown(MouseButton::Right);
    const KeyingValues applied = rig.transmission.keying();
    rig.main.SpDot.setValue(12);
    rig.main.SpBigp.setValue(1);

    rig.main.Button9.click();
    EXPECT_FALSE(rig.main.PnBtdfcw.visible());
    EXPECT_EQ(rig.main.Btdfcw60i.caption(), "dfcw12");
    EXPECT_EQ(rig.transmission.keying(), applied);
    EXPECT_EQ(rig.main.Lbmode.caption(), "  CW");
    EXPECT_EQ(rig.estimates, 0);
    EXPECT_EQ(readFile(rig.fp.ini.path()),
              "[Param]\r\nDot=12\r\nDash=1\r\npause=2\r\nBpause=1\r\nshiftFr=20\r\n");

    // Start-up loads the spin fields, takes them over and labels the button; nothing is applied.
    rig.main.SpDot.setValue(5);
    rig.main.SpShift.setValue(0);
    rig.presetsPanel.readCustomMode();
    rig.presetsPanel.showCustomLabel();
    EXPECT_EQ(rig.main.Btdfcw60i.caption(), "qrss5");
    EXPECT_EQ(rig.transmission.keying(), applied);
}

TEST(Fskcw, PopUpButtonSendsThePlansFskcwAndRefusesOtherSpeeds) {
    PresetRig rig;
    rig.main.Btdfcw60i.mouseDown(MouseButton::Right);
    const KeyingValues before = rig.transmission.keying();
    for (const char* typed : {"5", "240"}) {
        rig.main.SpFskcw.setText(typed);
        rig.act([&] { rig.main.BtFskcw.click(); });
        EXPECT_EQ(rig.transmission.keying(), before);
        EXPECT_TRUE(rig.main.PnBtdfcw.visible());
    }
    ASSERT_EQ(rig.fp.sink.messages.size(), 2u);
    EXPECT_NE(rig.fp.sink.messages[1].find("240 s is not one of the QRSS speeds"), std::string::npos);

    rig.main.SpFskcw.setValue(10);
    rig.act([&] { rig.main.BtFskcw.click(); });
    EXPECT_EQ(rig.main.Lbmode.caption(), "FSKCW10");
    EXPECT_EQ(rig.transmission.keying(), keyer::Presets::fskcw(10)->values);
    EXPECT_FALSE(rig.main.PnBtdfcw.visible());
    EXPECT_EQ(rig.captions(), kPlain);

    // Sent as the plan keys FSKCW10 when its mode is set directly: the key held from the first mark to the
    // end.
    PresetRig direct;
    direct.transmission.setMode(*keyer::Presets::fskcw(10));
    for (PresetRig* r : {&rig, &direct}) {
        r->openPort();
        r->send("ET");
        r->runToIdle();
    }
    EXPECT_EQ(rig.lines.edges(), direct.lines.edges());
    int keyEdges = 0;
    for (const auto& edge : rig.lines.edges())
        keyEdges += edge.line == Line::Rts;
    EXPECT_EQ(keyEdges, 2);
    EXPECT_FALSE(rig.lines.rts || rig.lines.dtr);
    EXPECT_EQ(rig.fp.sink.messages.size(), 2u);
}
