// The log menu and window on a logbook over a real file.
#include "ui/panels/LogPanel.h"

#include "log/LogRig.h"
#include "mock/Files.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace tarvel;

namespace {

struct LogRig : test::LogRig {
    LogRig() {
        window.TForm2.hide(); // as the program starts
    }
    ui::forms::MainForm form;
    ui::forms::LogForm window;
    ui::panels::LogPanel panel{form, window, logbook};
};

} // namespace

TEST(LogPanel, CaptionNamesTheSwitchOnEachToggleAndDayChange) {
    LogRig rig;
    rig.form.Log2.click();
    EXPECT_EQ(rig.form.Log2.caption(), "Log  On");
    rig.form.Log2.click();
    EXPECT_EQ(rig.form.Log2.caption(), "Log Off");
    rig.logbook.setOn(true);
    rig.logbook.dayChange();
    EXPECT_EQ(rig.form.Log2.caption(), "Log  On");
}

TEST(LogPanel, SavingTheWindowReplacesTheFileAndKeepsTheTrailingEmptyLine) {
    LogRig rig;
    rig.logbook.setOn(true);
    rig.logbook.endRecord();
    rig.form.Log1.click();
    EXPECT_TRUE(rig.window.TForm2.visible());
    rig.window.Memo1.edited({"edited line", ""});
    rig.window.Save1.click();
    EXPECT_EQ(mock::readFile("vfolog.txt"), "edited line\r\n\r\n");

    // A folder in the file's place shows an empty window.
    std::filesystem::remove("vfolog.txt");
    std::filesystem::create_directory("vfolog.txt");
    rig.form.Log1.click();
    EXPECT_EQ(rig.window.Memo1.lines(), std::vector<std::string>{""});
    std::filesystem::remove("vfolog.txt");
}

TEST(LogPanel, HiddenWindowIsNotReadAndAShownOneTakesOnlyTheNewLine) {
    LogRig rig;
    std::ofstream("vfolog.txt", std::ios::binary) << "earlier\r\n";
    rig.logbook.setOn(true);
    rig.logbook.endRecord();
    rig.logbook.refresh(); // what Start TX does
    EXPECT_TRUE(rig.window.Memo1.lines().empty());

    rig.form.Log1.click();
    const std::string end = "  End : 23:59:59", stop = " Stop : 23:59:59   ------  ";
    EXPECT_EQ(rig.window.Memo1.lines(), (std::vector<std::string>{"earlier", end, ""}));
    const auto loaded = rig.window.Memo1.generation();
    rig.logbook.stopRecord();
    rig.logbook.refresh();
    EXPECT_EQ(rig.window.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, ""}));
    EXPECT_EQ(rig.window.Memo1.generation(), loaded); // added to, not loaded again

    // Text added from outside, here without a line end, is loaded; the next record then joins that line,
    // as a reload shows it.
    std::ofstream("vfolog.txt", std::ios::binary | std::ios::app) << "outside";
    rig.logbook.refresh();
    EXPECT_EQ(rig.window.Memo1.lines(), (std::vector<std::string>{"earlier", end, stop, "outside", ""}));
    rig.logbook.endRecord();
    EXPECT_EQ(rig.window.Memo1.lines(),
              (std::vector<std::string>{"earlier", end, stop, "outside" + end, ""}));

    rig.window.TForm2.hide();
    rig.logbook.stopRecord();
    EXPECT_EQ(rig.window.Memo1.lines().size(), 5u);
    rig.form.Log1.click();
    EXPECT_EQ(rig.window.Memo1.lines(),
              (std::vector<std::string>{"earlier", end, stop, "outside" + end, stop, ""}));
}
