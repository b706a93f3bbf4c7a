// The beacon panel's displays, the stored messages' start panels and the diagnostic panel, following a
// transmission.
#include "ui/panels/KeyerPanelsRig.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;
using ui::panels::kIdleMessageColor;
using ui::panels::kRunningMessageColor;

namespace {

struct OpenPanelsRig : KeyerPanelsRig {
    OpenPanelsRig() {
        act([&] { portPanel.openPort(); });
        logbook.setOn(true);
    }
    std::vector<ui::controls::Color> colours() const {
        return {main.PnTX1.color(), main.PnTX2.color(), main.PnTX3.color(), main.PnTX4.color()};
    }
};

} // namespace

TEST(BeaconPanels, AMessageIsShownFromItsStartToItsEnd) {
    OpenPanelsRig rig;
    rig.sendFromPanel("E");
    EXPECT_EQ(rig.colours(),
              (std::vector{kRunningMessageColor, kIdleMessageColor, kIdleMessageColor, kIdleMessageColor}));
    EXPECT_EQ(kRunningMessageColor, ui::controls::rgb(0, 170, 0));
    EXPECT_EQ(kIdleMessageColor, ui::controls::rgb(204, 204, 204));
    EXPECT_FALSE(rig.main.Label32.visible());
    EXPECT_EQ(rig.main.Lbo.caption(), "//");
    EXPECT_EQ(rig.main.LbTTX.caption(), "00:00:01");
    EXPECT_EQ(rig.main.EdTtx.text(), "12:00:00");
    EXPECT_EQ(rig.main.LbTxEnd.caption(), "12:00:01");
    EXPECT_EQ(rig.main.EdTX.text(), "E");
    EXPECT_EQ(rig.main.Ed3.text(), "<E*=");
    EXPECT_EQ(rig.main.LbTextNow.fontColor(), 147700u);
    rig.runUntil(1050);
    EXPECT_EQ(rig.main.Lbo.caption(), "*");
    EXPECT_EQ(rig.main.LbTextNow.caption(), "E");

    rig.runToIdle();
    EXPECT_EQ(rig.main.Lbo.caption(), "END");
    EXPECT_EQ(rig.main.LbTextNow.fontColor(), 440001u);
    EXPECT_EQ(rig.colours(), std::vector<ui::controls::Color>(4, kIdleMessageColor));
    EXPECT_TRUE(rig.main.Label32.visible());
    EXPECT_EQ(rig.main.Memo1.lines(), (std::vector<std::string>{"\" \"69", "df=0  3", "df=0  5"}));
    EXPECT_EQ(rig.main.Edit4.text(), "0");
    EXPECT_EQ(rig.logText(), "Start : 12:00:00    CW   00:00:01   \"E\" 480000,0\r\n"
                             "  End : 12:00:01\r\n");
    // A click on the duration estimates again from now.
    rig.runUntil(3600000);
    rig.main.LbTTX.click();
    EXPECT_EQ(rig.main.EdTtx.text(), "13:00:00");
    EXPECT_EQ(rig.main.LbTxEnd.caption(), "13:00:01");
}

TEST(BeaconPanels, LoopBoxRepeatsAndStopTxEndsWithThePanelsIdle) {
    OpenPanelsRig rig;
    rig.main.ChLoop.setChecked(true);
    rig.sendFromPanel("E");
    rig.runUntil(1101);
    EXPECT_EQ(rig.main.EdTtx.text(), "12:00:01"); // the next pass is timed from now
    EXPECT_EQ(rig.main.PnTX1.color(), kRunningMessageColor);
    rig.runUntil(2000);
    rig.act([&] { rig.main.BtStopTX.click(); });
    EXPECT_FALSE(rig.lines.rts || rig.lines.dtr);
    EXPECT_EQ(rig.main.Lbo.caption(), "END");
    EXPECT_EQ(rig.main.PnTX1.color(), kIdleMessageColor);
    EXPECT_TRUE(rig.main.Label32.visible());
    EXPECT_FALSE(rig.timer1->enabled());
}

TEST(BeaconPanels, MessageThreeStartedWhileMessageOneRunsTakesOver) {
    KeyerPanelsRig rig;
    // What the hidden fields held each time Start TX began: the message, and the old sequence cleared.
    std::vector<std::pair<std::string, std::string>> starts;
    rig.transmission.notices.sequenceChanged.connect([&] {
        if (rig.main.Ed3.text().empty())
            starts.emplace_back(rig.main.EdTX.text(), rig.main.Ed3.text());
    });
    rig.main.EdTX1.setText("VVV");
    rig.main.EdTX3.setText("CQ \"TEST\"");
    rig.act([&] { rig.main.PnTX1.click(); });
    EXPECT_TRUE(rig.transmission.messageRunning());
    rig.act([&] { rig.main.PnTX3.click(); });
    EXPECT_EQ(rig.main.PnTX1.color(), kIdleMessageColor);
    EXPECT_EQ(rig.main.PnTX3.color(), kRunningMessageColor);
    EXPECT_EQ(rig.transmission.messageText(), "CQ \"TEST\"");
    EXPECT_TRUE(rig.transmission.messageRunning());
    EXPECT_EQ(starts, (std::vector<std::pair<std::string, std::string>>{{"VVV", ""}, {"CQ \"TEST\"", ""}}));
    EXPECT_EQ(rig.main.EdTX3.text(), "CQ \"TEST\""); // the stored message itself is left as it is
}

TEST(BeaconPanels, ClockLabelShowsTheTime) {
    KeyerPanelsRig rig;
    rig.timer2->setEnabled(true);
    rig.time.advance(1000);
    EXPECT_EQ(rig.main.LbTimeNow.caption(), "12:00:01");
}

TEST(DiagnosticPanel, BtTextCutsAnSAndRunsOneStep) {
    KeyerPanelsRig rig;
    rig.transmission.setSequence("", 4);
    rig.main.BtText.click();
    EXPECT_EQ(rig.clipboard, std::vector<std::string>{"S"});
    EXPECT_EQ(rig.main.EdbufTtx.text(), "");
    EXPECT_EQ(rig.transmission.position(), 5);
    EXPECT_EQ(rig.main.Lbo.caption(), "END"); // the step past the end
}
