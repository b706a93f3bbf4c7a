// The main window by keyboard alone: Tab reaches what the operator sees and nothing else, the clickable
// panels and labels answer Space, the right-click functions the Menu key and Shift+F10, and the pop-ups
// take the focus, close on Escape and give the focus back.
#include "ui/ProgramRig.h"
#include "ui/panels/BeaconMessagesPanel.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <algorithm>

using namespace tarvel;
using tarvel::test::ProgramRig;
using Line = mock::RecordingControlLines::Line;
using Op = mock::RecordingControlLines::Operation;

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
    QWidget* widget(const std::string& name) const { return window().widget(name); }
    void focusOn(const std::string& name) const {
        widget(name)->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(focusName(), name);
    }
};

} // namespace

TEST(Keyboard, TabAndTheScreenReaderReachOnlyWhatTheWindowShows) {
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

    // "X" narrows the window and leaves the options outside it: the focus does not stay behind there.
    rig.window().action("Options2")->trigger();
    rig.focusOn("Button1");
    QTest::keyClick(focus(), Qt::Key_Space);
    EXPECT_EQ(rig.form->mainWindow().TForm1.width(), 332);
    EXPECT_TRUE(contains(compact, focusName())) << focusName();
}

TEST(Keyboard, SpaceMenuKeyAndEscapeDoWhatTheMouseDoes) {
    KeyboardRig rig;
    auto& m = rig.form->mainWindow();
    rig.window().action("QRSSDFCW2")->trigger();
    m.EdTX1.setText("E");

    // A send panel sends its message.
    rig.focusOn("PnTX1");
    const std::int64_t t0 = rig.time.nowMs();
    QTest::keyClick(focus(), Qt::Key_Space);
    EXPECT_EQ(m.PnTX1.color(), ui::panels::kRunningMessageColor);
    rig.time.advance(5000);
    EXPECT_EQ(m.PnTX1.color(), ui::panels::kIdleMessageColor);

    // The manual PTT switch: the focus passes to the switch that takes the place of the pressed one.
    rig.focusOn("Label32");
    const std::int64_t t1 = rig.time.nowMs();
    QTest::keyClick(focus(), Qt::Key_Space);
    EXPECT_EQ(focusName(), "Label33");
    QTest::keyClick(focus(), Qt::Key_Enter);
    EXPECT_EQ(focusName(), "Label32");
    const std::vector<Op> edges = rig.lines.edges();
    ASSERT_GE(edges.size(), 2u);
    EXPECT_EQ(std::vector<Op>(edges.end() - 2, edges.end()),
              (std::vector<Op>{{Line::Dtr, true, t1}, {Line::Dtr, false, t1}}));
    EXPECT_GT(t1, t0);

    // The custom mode's values open with the Menu key (as with a right click), take the focus and give it
    // back on Escape, without the "Ok" that stores them.
    rig.focusOn("Btdfcw60i");
    const std::string settingsBefore = rig.ini();
    QTest::keyClick(focus(), Qt::Key_Menu);
    EXPECT_TRUE(m.PnBtdfcw.visible());
    EXPECT_EQ(focusName(), "SpDot");
    QTest::keyClick(focus(), Qt::Key_Escape);
    EXPECT_FALSE(m.PnBtdfcw.visible());
    EXPECT_EQ(focusName(), "Btdfcw60i");
    EXPECT_EQ(rig.ini(), settingsBefore);
    QTest::keyClick(focus(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(m.PnBtdfcw.visible());

    // A keypad button stores its memory with Shift+F10 as with a right click; Space recalls it.
    auto& keypad = rig.windows->keypadWindow();
    m.BtKnF.click();
    keypad.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&keypad));
    keypad.widget("Bt3")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(focus(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_NE(rig.ini().find("\r\nfreq7="), std::string::npos);
    EXPECT_EQ(rig.form->keypadWindow().Bt3.caption(), std::to_string(m.seRfreq.value() / 1000));

    // Help closes on Escape.
    rig.window().action("Help1")->trigger();
    auto& help = rig.windows->helpWindow();
    ASSERT_TRUE(help.isVisible());
    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    EXPECT_FALSE(rig.form->helpWindow().TForm4.visible());
}

TEST(Keyboard, MenusGetMnemonicsOverTheirCaptions) {
    KeyboardRig rig;
    std::vector<QString> bar, setup;
    for (QAction* action : rig.window().menuBar()->actions())
        bar.push_back(action->text());
    for (QAction* action : rig.window().action("Setup1")->menu()->actions())
        setup.push_back(action->text());
    EXPECT_EQ(bar, (std::vector<QString>{"&Menu", "&Setup", "  &Log  ", "   &ID   ", "&QRSS/DFCW"}));
    EXPECT_EQ(setup, (std::vector<QString>{"&Options", "&Port", "P&rioritet", "&Buffer", "&Audio device",
                                           "&Log Off"}));
    // A new caption keeps its letter; screen readers hear the caption without the marker.
    rig.window().action("Log2")->trigger();
    EXPECT_EQ(rig.window().action("Log2")->text(), "&Log  On");
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(rig.window().menuBar())->child(1)->text(QAccessible::Name),
        "Setup");
}
