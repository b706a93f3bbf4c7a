// The stored messages and the beacon clock, which marks each new day in the activity log.
#include "keyer/BeaconMessages.h"

#include "mock/Files.h"
#include "mock/RecordingMessageSink.h"
#include "mock/VirtualTime.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/LogPanel.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace tarvel;

namespace {

struct ClockRig {
    explicit ClockRig(platform::LocalTime start, std::string logPath = "vfolog.txt")
        : time(start), file(std::move(logPath), time) {
        std::filesystem::remove("vfolog.txt");
        Timer2->setEnabled(true);
        clock.onTime.connect([this](const std::string& now) { shown = now; });
    }

    mock::VirtualTime time;
    std::unique_ptr<mock::VirtualTimer> Timer2 = time.makeTimer();
    ui::forms::MainForm form;
    ui::forms::LogForm logWindow;
    log::ActivityLog file;
    log::Logbook log{file};
    ui::panels::LogPanel logPanel{form, logWindow, log};
    mock::RecordingMessageSink sink;
    keyer::BeaconClock clock{log, time, *Timer2, sink};
    std::string shown;
};

} // namespace

TEST(BeaconClock, ShowsTheTimeEverySecondAndMarksMidnightOnceWhileLogging) {
    ClockRig rig({2026, 12, 7, 23, 59, 58, 0});
    rig.log.setOn(true);
    rig.form.Log2.setCaption("something else");
    rig.time.advance(1000);
    EXPECT_EQ(rig.shown, "23:59:59");
    EXPECT_FALSE(std::filesystem::exists("vfolog.txt"));

    rig.time.advance(3000);
    EXPECT_EQ(rig.shown, "0:00:02");
    EXPECT_EQ(mock::readFile("vfolog.txt"), "    08.12.2026---------------------------------0:00:00\r\n");
    EXPECT_EQ(rig.form.Log2.caption(), "Log  On");
    EXPECT_EQ(rig.logWindow.Memo1.lines().size(), 2u); // the log window was reloaded
    EXPECT_TRUE(rig.sink.messages.empty());
}

TEST(BeaconClock, WithLoggingOffMidnightOnlyResetsTheMenuCaption) {
    ClockRig rig({2026, 12, 7, 23, 59, 59, 500});
    rig.form.Log2.setCaption("something else");
    rig.time.advance(1000); // 0:00:00.500
    EXPECT_EQ(rig.shown, "0:00:00");
    EXPECT_EQ(rig.form.Log2.caption(), "Log Off");
    EXPECT_FALSE(std::filesystem::exists("vfolog.txt"));
}

TEST(BeaconClock, ALostDayChangeLineIsReportedAndTheClockGoesOn) {
    ClockRig rig({2026, 12, 7, 23, 59, 59, 0}, "no-such-folder/vfolog.txt");
    rig.log.setOn(true);
    rig.time.advance(2000);
    EXPECT_EQ(rig.sink.messages.size(), 1u);
    EXPECT_EQ(rig.shown, "0:00:01");
    EXPECT_TRUE(rig.Timer2->enabled());
}
