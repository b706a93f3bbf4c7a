#include "log/LogRig.h"
#include "mock/Files.h"
#include "platform/Failure.h"

#include <gtest/gtest.h>

using namespace tarvel;

namespace {

struct LogRig : test::LogRig {
    LogRig() {
        logbook.onSwitchShown.connect([this] { shown.push_back(logbook.on()); });
    }
    std::vector<bool> shown; // the switch each time it was to be shown
};

} // namespace

TEST(Logbook, ToggleShowsAndStoresTheSwitchAndWritesHeaderOnlyWhenSwitchingOn) {
    LogRig rig;
    rig.logbook.toggle();
    EXPECT_TRUE(rig.logbook.on());
    EXPECT_NE(mock::readFile("log.ini").find("log=1\r\n"), std::string::npos);
    const std::string header = "--- 07.12.2026---------------------------------23:59:59\r\n";
    EXPECT_EQ(mock::readFile("vfolog.txt"), header);

    rig.logbook.toggle();
    EXPECT_NE(mock::readFile("log.ini").find("log=0\r\n"), std::string::npos);
    EXPECT_EQ(mock::readFile("vfolog.txt"), header);
    rig.logbook.toggle();
    EXPECT_EQ(mock::readFile("vfolog.txt"), header + header);
    EXPECT_EQ(rig.shown, (std::vector<bool>{true, false, true}));
}

TEST(Logbook, RecordsAndDayChangeOnlyWhileLoggingIsOn) {
    LogRig rig;
    rig.logbook.startRecord(" CW", "00:00:01", "E", 137600, 25);
    rig.logbook.endRecord();
    rig.logbook.stopRecord();
    rig.logbook.dayChange();
    rig.logbook.startupHeader();
    EXPECT_EQ(mock::readFile("vfolog.txt"), "");
    EXPECT_EQ(rig.shown, std::vector<bool>{false}); // the day change shows the switch again

    rig.logbook.setOn(true);
    rig.time.advance(1000); // midnight
    rig.logbook.dayChange();
    rig.logbook.startRecord(" CW", "00:00:01", "SAY \"HI\"", 137600, 25);
    rig.logbook.stopRecord();
    EXPECT_EQ(mock::readFile("vfolog.txt"), "    08.12.2026---------------------------------0:00:00\r\n"
                                            "Start : 0:00:00    CW   00:00:01   \"SAY \"HI\"\" 137600,25\r\n"
                                            " Stop : 0:00:00   ------  \r\n");
    EXPECT_EQ(rig.shown, (std::vector<bool>{false, true}));
}

TEST(Logbook, UnwritableLogCostsOnlyTheRecordButReportsHeaderFailures) {
    LogRig rig;
    std::filesystem::remove("vfolog.txt");
    std::filesystem::create_directory("vfolog.txt");
    rig.logbook.setOn(true);
    EXPECT_NO_THROW(rig.logbook.endRecord());
    EXPECT_THROW(rig.logbook.dayChange(), platform::Failure);
    rig.logbook.setOn(false);
    EXPECT_THROW(rig.logbook.toggle(), platform::Failure); // switching on: the header line fails
    EXPECT_TRUE(rig.logbook.on());                         // the switch and its key keep their new values
    EXPECT_NE(mock::readFile("log.ini").find("log=1\r\n"), std::string::npos);
    std::filesystem::remove("vfolog.txt");
}
