// The log menu and window on a logbook over a real file.
#include "ui/panels/LogPanel.h"

#include "log/LogRig.h"
#include "mock/Files.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace tarvel;

namespace {

struct LogRig : test::LogRig {
    LogRig() {
        TForm2.hide(); // as the program starts
    }
    controls::MenuItem Log2{"Log2", "Log Off"}, Log1{"Log1", "  Log  "}, Save1{"Save1", "Save"};
    controls::Form TForm2{"TForm2", "Log"};
    controls::Memo Memo1{"Memo1"};
    ui::panels::LogPanel panel{{Log2, Log1, TForm2, Memo1, Save1}, logbook};
};

} // namespace

TEST(LogPanel, CaptionNamesTheSwitchOnEachToggleAndDayChange) {
    LogRig rig;
    rig.Log2.click();
    EXPECT_EQ(rig.Log2.caption(), "Log  On");
    rig.Log2.click();
    EXPECT_EQ(rig.Log2.caption(), "Log Off");
    rig.logbook.setOn(true);
    rig.logbook.dayChange();
    EXPECT_EQ(rig.Log2.caption(), "Log  On");
}

TEST(LogPanel, SavingTheWindowReplacesTheFileAndKeepsTheTrailingEmptyLine) {
    LogRig rig;
    rig.logbook.setOn(true);
    rig.logbook.endRecord();
    rig.Log1.click();
    EXPECT_TRUE(rig.TForm2.visible());
    rig.Memo1.edited({"edited line", ""});
    rig.Save1.click();
    EXPECT_EQ(mock::readFile("vfolog.txt"), "edited line\r\n\r\n");

    // A folder in the file's place shows an empty window.
    std::filesystem::remove("vfolog.txt");
    std::filesystem::create_directory("vfolog.txt");
    rig.Log1.click();
    EXPECT_EQ(rig.Memo1.lines(), std::vector<std::string>{""});
    std::filesystem::remove("vfolog.txt");
}

TEST(LogPanel, HiddenWindowIsNotReadAndAShownOneTakesOnlyTheNewLine) {
    LogRig rig;
    std::ofstream("vfolog.txt", std::ios::binary) << "earlier\r\n";
    rig.logbook.setOn(true);
    rig.logbook.endRecord();
    rig.logbook.refresh(); // what Start TX does
    EXPECT_TRUE(rig.Memo1.lines().empty());

    rig.Log1.click();
    const std::string end = "  End : 23:59:59", stop = " Stop : 23:59:59   ------  ";
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, ""}));
    const auto loaded = rig.Memo1.generation();
    rig.logbook.stopRecord();
    rig.logbook.refresh();
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, ""}));
    EXPECT_EQ(rig.Memo1.generation(), loaded); // added to, not loaded again

    // Text added from outside, here without a line end, is loaded; the next record then joins that line,
    // as a reload shows it.
    std::ofstream("vfolog.txt", std::ios::binary | std::ios::app) << "outside";
    rig.logbook.refresh();
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, "outside", ""}));
    rig.logbook.endRecord();
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, "outside" + end, ""}));

    rig.TForm2.hide();
    rig.logbook.stopRecord();
    EXPECT_EQ(rig.Memo1.lines().size(), 5u);
    rig.Log1.click();
    EXPECT_EQ(rig.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, "outside" + end, stop, ""}));
}
