#include "log/LogControl.h"

#include "controls/Memo.h"
#include "controls/Simple.h"
#include "mock/Files.h"
#include "mock/VirtualTime.h"
#include "platform/Failure.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace tarvel;

namespace {

struct LogRig {
    LogRig() {
        std::filesystem::remove("log.ini");
        std::filesystem::remove("vfolog.txt");
        file.ensureFile();
        TForm2.hide(); // as the program starts
    }
    mock::VirtualTime time{{2026, 12, 7, 23, 59, 59, 0}};
    controls::MenuItem Log2{"Log2", "Log Off"};
    controls::Form TForm2{"TForm2", "Log"};
    controls::Memo Memo1{"Memo1"};
    log::ActivityLog file{"vfolog.txt", time};
    settings::IniFile ini{"log.ini"};
    log::LogControl control{{Log2, TForm2, Memo1}, file, ini};
};

} // namespace

TEST(LogControl, ToggleNamesStateStoresFlagAndWritesHeaderOnlyWhenSwitchingOn) {
    LogRig rig;
    rig.Log2.click();
    EXPECT_EQ(rig.control.log, 1);
    EXPECT_EQ(rig.Log2.caption(), "Log  On");
    EXPECT_NE(mock::readFile("log.ini").find("log=1\r\n"), std::string::npos);
    const std::string header = "--- 07.12.2026---------------------------------23:59:59\r\n";
    EXPECT_EQ(mock::readFile("vfolog.txt"), header);

    rig.Log2.click();
    EXPECT_EQ(rig.Log2.caption(), "Log Off");
    EXPECT_EQ(mock::readFile("vfolog.txt"), header);
    rig.Log2.click();
    EXPECT_EQ(mock::readFile("vfolog.txt"), header + header);
}

TEST(LogControl, RecordsAndDayChangeOnlyWhileLoggingIsOn) {
    LogRig rig;
    rig.control.startRecord(" CW", "00:00:01", "E", 137600, 25);
    rig.control.endRecord();
    rig.control.stopRecord();
    rig.control.dayChange();
    EXPECT_EQ(mock::readFile("vfolog.txt"), "");
    EXPECT_EQ(rig.Log2.caption(), "Log Off");

    rig.control.log = 1;
    rig.time.advance(1000); // midnight
    rig.control.dayChange();
    rig.control.startRecord(" CW", "00:00:01", "SAY \"HI\"", 137600, 25);
    rig.control.stopRecord();
    EXPECT_EQ(mock::readFile("vfolog.txt"), "    08.12.2026---------------------------------0:00:00\r\n"
                                            "Start : 0:00:00    CW   00:00:01   \"SAY \"HI\"\" 137600,25\r\n"
                                            " Stop : 0:00:00   ------  \r\n");
    EXPECT_EQ(rig.Log2.caption(), "Log  On");
}

TEST(LogControl, SavingTheWindowReplacesTheFileAndKeepsTheTrailingEmptyLine) {
    LogRig rig;
    rig.control.log = 1;
    rig.control.endRecord();
    rig.control.Log1Click();
    EXPECT_TRUE(rig.TForm2.visible());
    rig.Memo1.edited({"edited line", ""});
    rig.control.Save1Click();
    EXPECT_EQ(mock::readFile("vfolog.txt"), "edited line\r\n\r\n");
}

TEST(LogControl, UnwritableLogCostsOnlyTheRecordButReportsHeaderFailures) {
    LogRig rig;
    std::filesystem::remove("vfolog.txt");
    std::filesystem::create_directory("vfolog.txt");
    rig.control.log = 1;
    EXPECT_NO_THROW(rig.control.endRecord());
    EXPECT_THROW(rig.control.dayChange(), platform::Failure);
    rig.control.log = 0;
    EXPECT_THROW(rig.Log2.click(), platform::Failure); // switching on: the header line fails
    EXPECT_EQ(rig.control.log, 1);                     // the flag and its key keep their new values
    EXPECT_NE(mock::readFile("log.ini").find("log=1\r\n"), std::string::npos);
    rig.control.Log1Click(); // a folder in the file's place shows an empty window
    EXPECT_EQ(rig.Memo1.lines(), std::vector<std::string>{""});
    std::filesystem::remove("vfolog.txt");
}

TEST(LogControl, HiddenWindowIsNotReadAndAShownOneTakesOnlyTheNewLine) {
    LogRig rig;
    std::ofstream("vfolog.txt", std::ios::binary) << "earlier\r\n";
    rig.control.log = 1;
    rig.control.endRecord();
    rig.control.refresh(); // what Start TX does
    EXPECT_TRUE(rig.Memo1.lines().empty());

    rig.control.Log1Click();
    const std::string end = "  End : 23:59:59", stop = " Stop : 23:59:59   ------  ";
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, ""}));
    const auto loaded = rig.Memo1.generation();
    rig.control.stopRecord();
    rig.control.refresh();
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, ""}));
    EXPECT_EQ(rig.Memo1.generation(), loaded); // added to, not loaded again

    // Text added from outside, here without a line end, is loaded; the next record then joins that line,
    // as a reload shows it.
    std::ofstream("vfolog.txt", std::ios::binary | std::ios::app) << "outside";
    rig.control.refresh();
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, "outside", ""}));
    rig.control.endRecord();
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, "outside" + end, ""}));

    rig.TForm2.hide();
    rig.control.stopRecord();
    EXPECT_EQ(rig.Memo1.lines().size(), 5u);
    rig.control.Log1Click();
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, "outside" + end, stop, ""}));
}
