#include "keyer/BeaconMessages.h"

#include "controls/Memo.h"
#include "mock/Files.h"
#include "mock/RecordingMessageSink.h"
#include "mock/VirtualTime.h"
#include "ui/panels/LogPanel.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using namespace tarvel;
using keyer::kIdleMessageColor;
using keyer::kRunningMessageColor;

namespace {

struct BeaconRig {
    explicit BeaconRig(platform::LocalTime start = {2026, 12, 7, 12, 0, 0, 0},
                       std::string logPath = "vfolog.txt")
        : time(start), file(std::move(logPath), time) {
        std::filesystem::remove("vfolog.txt");
        std::filesystem::remove("beacon.ini");
        Timer2->setEnabled(true);
    }

    mock::VirtualTime time;
    std::unique_ptr<mock::VirtualTimer> Timer2 = time.makeTimer();
    controls::TextField EdTX1{"EdTX1"}, EdTX2{"EdTX2"}, EdTX3{"EdTX3"}, EdTX4{"EdTX4"};
    controls::Panel PnTX1{"PnTX1", "TX"}, PnTX2{"PnTX2", "TX"}, PnTX3{"PnTX3", "TX"}, PnTX4{"PnTX4", "TX"};
    controls::TextField Ed3{"Ed3"}, EdTX{"EdTX"}, EdbufTtx{"EdbufTtx"};
    controls::Label LbTimeNow{"LbTimeNow"};
    controls::Button BtText{"BtText", "BtText"};

    controls::MenuItem Log2{"Log2", "Log Off"}, Log1{"Log1", "  Log  "}, Save1{"Save1", "Save"};
    controls::Form TForm2{"TForm2", "Log"};
    controls::Memo Memo1{"Memo1"};
    log::ActivityLog file;
    settings::IniFile ini{"beacon.ini"};
    log::Logbook log{file, ini};
    ui::panels::LogPanel logPanel{{Log2, Log1, TForm2, Memo1, Save1}, log};

    mock::RecordingMessageSink sink;
    keyer::KeyerState state;
    // What Start TX found when it was called: EdTX and Ed3.
    std::vector<std::pair<std::string, std::string>> starts;
    std::vector<std::string> clipboard;
    int steps = 0;

    keyer::BeaconMessages messages{
        {EdTX1, EdTX2, EdTX3, EdTX4, PnTX1, PnTX2, PnTX3, PnTX4, Ed3, EdTX, LbTimeNow, BtText, EdbufTtx},
        state,
        log,
        time,
        *Timer2,
        sink,
        {[this] {
             starts.emplace_back(EdTX.text(), Ed3.text());
             Ed3.setText("<" + EdTX.text()); // stands for the compiled sequence
         },
         [this] { ++steps; }, [this](std::string s) { clipboard.push_back(std::move(s)); }}};

    std::vector<controls::Color> colours() const {
        return {PnTX1.color(), PnTX2.color(), PnTX3.color(), PnTX4.color()};
    }
};

} // namespace

TEST(BeaconMessages, MessageThreeStartedWhileMessageOneRunsTakesOver) {
    BeaconRig rig;
    rig.EdTX1.setText("VVV");
    rig.EdTX3.setText("CQ \"TEST\"");
    rig.PnTX1.click();
    EXPECT_EQ(rig.state.txActive, 1);
    EXPECT_EQ(rig.colours(),
              (std::vector{kRunningMessageColor, kIdleMessageColor, kIdleMessageColor, kIdleMessageColor}));

    rig.PnTX3.click();
    EXPECT_EQ(rig.colours(),
              (std::vector{kIdleMessageColor, kIdleMessageColor, kRunningMessageColor, kIdleMessageColor}));
    EXPECT_EQ(kRunningMessageColor, controls::rgb(0, 170, 0));
    EXPECT_EQ(kIdleMessageColor, controls::rgb(204, 204, 204));
    EXPECT_EQ(rig.state.messageText, "CQ \"TEST\"");
    EXPECT_EQ(rig.state.txActive, 1);
    // Start TX ran each time with the message in EdTX and the old sequence cleared.
    EXPECT_EQ(rig.starts,
              (std::vector<std::pair<std::string, std::string>>{{"VVV", ""}, {"CQ \"TEST\"", ""}}));
    EXPECT_EQ(rig.EdTX3.text(), "CQ \"TEST\""); // the stored message itself is left as it is
}

TEST(BeaconClock, ShowsTheTimeEverySecondAndMarksMidnightOnceWhileLogging) {
    BeaconRig rig({2026, 12, 7, 23, 59, 58, 0});
    rig.log.setOn(true);
    rig.Log2.setCaption("something else");
    rig.time.advance(1000);
    EXPECT_EQ(rig.LbTimeNow.caption(), "23:59:59");
    EXPECT_FALSE(std::filesystem::exists("vfolog.txt"));

    rig.time.advance(3000);
    EXPECT_EQ(rig.LbTimeNow.caption(), "0:00:02");
    EXPECT_EQ(mock::readFile("vfolog.txt"), "    08.12.2026---------------------------------0:00:00\r\n");
    EXPECT_EQ(rig.Log2.caption(), "Log  On");
    EXPECT_EQ(rig.Memo1.lines().size(), 2u); // the log window was reloaded
    EXPECT_TRUE(rig.sink.messages.empty());
    EXPECT_EQ(rig.state.txActive, 0);
}

TEST(BeaconClock, WithLoggingOffMidnightOnlyResetsTheMenuCaption) {
    BeaconRig rig({2026, 12, 7, 23, 59, 59, 500});
    rig.Log2.setCaption("something else");
    rig.time.advance(1000); // 0:00:00.500
    EXPECT_EQ(rig.LbTimeNow.caption(), "0:00:00");
    EXPECT_EQ(rig.Log2.caption(), "Log Off");
    EXPECT_FALSE(std::filesystem::exists("vfolog.txt"));
}

TEST(BeaconClock, ALostDayChangeLineIsReportedAndTheClockGoesOn) {
    BeaconRig rig({2026, 12, 7, 23, 59, 59, 0}, "no-such-folder/vfolog.txt");
    rig.log.setOn(true);
    rig.time.advance(2000);
    EXPECT_EQ(rig.sink.messages.size(), 1u);
    EXPECT_EQ(rig.LbTimeNow.caption(), "0:00:01");
    EXPECT_TRUE(rig.Timer2->enabled());
}

TEST(BeaconMessages, BtTextCutsAnSAndRunsOneStep) {
    BeaconRig rig;
    rig.state.kk = 4;
    rig.BtText.click();
    EXPECT_EQ(rig.clipboard, std::vector<std::string>{"S"});
    EXPECT_EQ(rig.EdbufTtx.text(), "");
    EXPECT_EQ(rig.state.kk, 5);
    EXPECT_EQ(rig.steps, 1);
}
