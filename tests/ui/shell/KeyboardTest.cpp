// The main window by keyboard alone: Tab reaches what the operator sees and nothing else, and so does a
// screen reader; switches, right-click functions and pop-ups work from the keyboard.
#include "ui/ProgramRig.h"

#include <QAccessible>
#include <QAction>
#include <QTest>
#include <algorithm>

using namespace tarvel;
using tarvel::test::ProgramRig;

namespace {

QWidget* focus() {
    return QApplication::focusWidget();
}

std::string focusName() {
    return focus() ? focus()->objectName().toStdString() : "";
}

// The controls Tab (or Shift+Tab) stops at, once round the window from the focused control.
std::vector<std::string> tabRound(bool forward) {
    std::vector<std::string> stops;
    for (int i = 0; i < 200; ++i) {
        QTest::keyClick(focus(), forward ? Qt::Key_Tab : Qt::Key_Backtab);
        if (!stops.empty() && focusName() == stops.front())
            break;
        stops.push_back(focusName());
    }
    return stops;
}

// The object names of everything the window's accessible interface lists, depth first.
void listAccessible(QAccessibleInterface* node, std::vector<std::string>& names) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        names.push_back(child->object() ? child->object()->objectName().toStdString() : "");
        listAccessible(child, names);
    }
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

struct KeyboardRig : ProgramRig {
    KeyboardRig() : ProgramRig({}, true) {
        form->startUp();
        window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
    }
    ui::view::FormWindow& window() const { return windows->mainWindow(); }
    void focusOn(const std::string& name) const {
        window().widget(name)->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(focusName(), name);
    }
};

} // namespace

TEST(Keyboard, ReachesOnlyWhatTheWindowShowsAndDoesWhatTheMouseDoes) {
    KeyboardRig rig;
    // Start-up leaves the focus in the zero-wide box; from there Tab goes round the compact view only.
    ASSERT_EQ(focusName(), "Edit1");
    const std::vector<std::string> compact{
        "seRfreq", "fineRfr", "RFreqScrollBar1", "BtF1",    "BtF2", "BtF3",  "BtF4",   "BtF1w", "BtF2w",
        "BtF3w",   "BtF4w",   "BtKnF",           "seLfreq", "RBt1", "RBt10", "RBt100", "RBt1k", "btnPlay"};
    EXPECT_EQ(tabRound(true), compact);
    EXPECT_EQ(tabRound(false), std::vector<std::string>(compact.rbegin(), compact.rend()));

    std::vector<std::string> listed;
    listAccessible(QAccessible::queryAccessibleInterface(&rig.window()), listed);
    EXPECT_TRUE(contains(listed, "seRfreq"));
    for (const char* outOfSight :
         {"seRLev", "PnCh", "EdFpA", "Panel2", "Memo1", "Label34", "EdTX", "Edit1", "Panel3", "PnPort"})
        EXPECT_FALSE(contains(listed, outOfSight)) << outOfSight;

    // The beacon view: its clickable panels and labels are stops too.
    rig.window().action("QRSSDFCW2")->trigger();
    const std::vector<std::string> beacon = tabRound(true);
    for (const char* stop :
         {"Button5", "Label32", "Btdfcw60i", "EdTX1", "PnTX1", "PnTX4", "LbTTX", "LbTimeNow"})
        EXPECT_TRUE(contains(beacon, stop)) << stop;
    for (const char* outOfSight : {"Label33", "BtTX", "EdFpA", "ChBA", "dot", "Memo1", "Ed3", "SpDot"})
        EXPECT_FALSE(contains(beacon, outOfSight)) << outOfSight;

    // The manual PTT switch hands the focus to the switch that takes its place; the Menu key opens the
    // custom values as a right click does, and Escape closes them and gives the focus back.
    rig.focusOn("Label32");
    QTest::keyClick(focus(), Qt::Key_Space);
    EXPECT_EQ(focusName(), "Label33");
    ASSERT_FALSE(rig.lines.edges().empty());
    EXPECT_TRUE(rig.lines.edges().back().on); // PTT raised
    rig.focusOn("Btdfcw60i");
    QTest::keyClick(focus(), Qt::Key_Menu);
    EXPECT_EQ(focusName(), "SpDot");
    QTest::keyClick(focus(), Qt::Key_Escape);
    EXPECT_FALSE(rig.form->mainWindow().PnBtdfcw.visible());
    EXPECT_EQ(focusName(), "Btdfcw60i");

    // "X" narrows the window and leaves the options outside it: the focus does not stay behind there.
    rig.window().action("Options2")->trigger();
    rig.focusOn("Button1");
    QTest::keyClick(focus(), Qt::Key_Space);
    EXPECT_EQ(rig.form->mainWindow().TForm1.width(), 332);
    EXPECT_TRUE(contains(compact, focusName())) << focusName();
}
