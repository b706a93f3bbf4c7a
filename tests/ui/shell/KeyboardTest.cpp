// The main window by keyboard alone: Tab and a screen reader reach what the operator sees and nothing else.
#include "ui/ProgramRig.h"

#include <QAccessible>
#include <QAction>
#include <QTest>
#include <algorithm>

using Names = std::vector<std::string>;

namespace {

std::string focusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "";
}

void press(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
}

// The controls Tab (or Shift+Tab) stops at, once round the window from the focused control.
Names tabRound(Qt::Key key) {
    Names stops;
    for (int i = 0; i < 200 && (press(key), stops.empty() || focusName() != stops.front()); ++i)
        stops.push_back(focusName());
    return stops;
}

void listAccessible(QAccessibleInterface* node, Names& names) {
    for (int i = 0; i < node->childCount(); ++i) {
        names.push_back(node->child(i)->object()->objectName().toStdString());
        listAccessible(node->child(i), names);
    }
}

bool has(const Names& names, const std::string& name) {
    return std::ranges::find(names, name) != names.end();
}

} // namespace

TEST(Keyboard, ReachesOnlyWhatTheWindowShowsAndDoesWhatTheMouseDoes) {
    tarvel::test::ProgramRig rig({}, true);
    rig.form->startUp();
    auto& window = rig.windows->mainWindow();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // Start-up leaves the focus in the zero-wide box; from there Tab goes round the compact view only.
    ASSERT_EQ(focusName(), "Edit1");
    const Names compact{"seRfreq", "fineRfr", "RFreqScrollBar1", "BtF1",   "BtF2",  "BtF3",
                        "BtF4",    "BtF1w",   "BtF2w",           "BtF3w",  "BtF4w", "BtKnF",
                        "seLfreq", "RBt1",    "RBt10",           "RBt100", "RBt1k", "btnPlay"};
    EXPECT_EQ(tabRound(Qt::Key_Tab), compact);
    EXPECT_EQ(tabRound(Qt::Key_Backtab), Names(compact.rbegin(), compact.rend()));
    Names listed;
    listAccessible(QAccessible::queryAccessibleInterface(&window), listed);
    EXPECT_TRUE(has(listed, "seRfreq"));
    for (const char* outOfSight : {"seRLev", "PnCh", "Panel2", "Memo1", "Label34", "EdTX", "Edit1", "PnPort"})
        EXPECT_FALSE(has(listed, outOfSight)) << outOfSight;

    // The beacon view: its clickable panels and labels are stops too.
    window.action("QRSSDFCW2")->trigger();
    const Names beacon = tabRound(Qt::Key_Tab);
    for (const char* stop : {"Label32", "Btdfcw60i", "PnTX1", "PnTX4", "LbTTX", "LbTimeNow"})
        EXPECT_TRUE(has(beacon, stop)) << stop;
    for (const char* outOfSight : {"Label33", "BtTX", "ChBA", "dot", "SpDot"})
        EXPECT_FALSE(has(beacon, outOfSight)) << outOfSight;

    // The PTT switch hands the focus to the one taking its place; the Menu key opens the custom values as
    // a right click does, and Escape closes them and gives the focus back.
    window.widget("Label32")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_EQ(focusName(), "Label33");
    EXPECT_TRUE(!rig.lines.edges().empty() && rig.lines.edges().back().on);
    window.widget("Btdfcw60i")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Menu);
    EXPECT_EQ(focusName(), "SpDot");
    press(Qt::Key_Escape);
    EXPECT_EQ(focusName(), "Btdfcw60i");
    EXPECT_FALSE(rig.form->mainWindow().PnBtdfcw.visible());

    // "X" narrows the window past the options: the focus does not stay behind on it.
    window.action("Options2")->trigger();
    window.widget("Button1")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_TRUE(has(compact, focusName())) << focusName();
}
