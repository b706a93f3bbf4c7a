#include "mock/RecordingMessageSink.h"
#include "platform/Failure.h"
#include "platform/Locale.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboField.h"
#include "ui/controls/Memo.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/ScrollBar.h"
#include "ui/controls/Simple.h"
#include "ui/controls/SpinField.h"
#include "ui/view/ComboFieldView.h"
#include "ui/view/DeferredIconStyle.h"
#include "ui/view/FormView.h"
#include "ui/view/QMessageBoxSink.h"
#include "ui/view/RadioGroupView.h"
#include "ui/view/ScrollBarView.h"
#include "ui/view/SpinFieldView.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace tarvel::ui::controls;
using tarvel::platform::Failure;
using tarvel::ui::view::FormView;
using tarvel::ui::view::FormWindow;
using tarvel::ui::view::SpinFieldView;

// Font configuration keeps its caches for the life of the process; the leak checker of sanitised
// builds need not report them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace {

// Types text as keystrokes, Cyrillic included (QTest::keyClicks only knows Latin-1).
void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

QPoint subControlCentre(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
}

class ViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "ui_view_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            new QApplication(argc, argv);
        tarvel::platform::setDecimalSeparator('.');
    }

    void build(std::vector<Control*> controls, FormView::Options options = {}) {
        form.setBounds(0, 0, 400, 300);
        window = FormView::build(form, controls, sink, options);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    template <class W> W* widget(const std::string& name) {
        W* w = window->widgetAs<W>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // Models outlive the window that shows them.
    template <class M, class... Args> M& make(Args&&... args) {
        models.push_back(std::make_unique<M>(std::forward<Args>(args)...));
        return static_cast<M&>(*models.back());
    }

    tarvel::mock::RecordingMessageSink sink;
    Form form{"TForm1", "Tarvel 1.2"};
    RadioSet radioSet;
    std::vector<std::unique_ptr<Control>> models;
    std::unique_ptr<FormWindow> window;
};

TEST_F(ViewTest, SpinFieldTakesOnlyNumberCharactersAndRunsHandlerPerKeystroke) {
    auto& spin = make<SpinField>("seRfreq", 100, 2100000000, 1, 480000);
    spin.setBounds(10, 10, 120, 22);
    build({&spin});
    auto* view = widget<SpinFieldView>("seRfreq");
    spin.setText("");
    std::vector<std::string> seen;
    spin.onChange = [&] { seen.push_back(spin.text()); };

    type(view, QString::fromUtf8("1a2б 3.-"));
    EXPECT_EQ(view->text(), "123.-");
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "12", "123", "123.", "123.-"}));
    QTest::keyClick(view, Qt::Key_Backspace);
    QTest::keyClick(view, Qt::Key_Backspace);
    QTest::keyClick(view, Qt::Key_Home);
    type(view, "9");
    EXPECT_EQ(spin.text(), "9123");
    EXPECT_EQ(spin.value(), 9123);
}

TEST_F(ViewTest, SpinFieldStepsByKeysAndButtonsAndClampsWhenFocusLeaves) {
    auto& spin = make<SpinField>("SpinEdit1", 16, 64, 16, 48);
    auto& other = make<TextField>("Edit1");
    spin.setBounds(10, 10, 80, 22);
    other.setBounds(10, 40, 80, 22);
    build({&spin, &other});
    auto* view = widget<SpinFieldView>("SpinEdit1");
    int changes = 0;
    spin.onChange = [&] { ++changes; };

    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(spin.value(), 64);
    QTest::mouseClick(view->upButton(), Qt::LeftButton); // already at the maximum
    EXPECT_EQ(view->text(), "64");
    QTest::mouseClick(view->downButton(), Qt::LeftButton);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->text(), "32");
    EXPECT_EQ(changes, 3);

    view->setFocus();
    view->selectAll();
    type(view, "200");
    EXPECT_EQ(spin.value(), 200); // a read does not clamp
    QTest::mouseClick(window->widget("Edit1"), Qt::LeftButton);
    ASSERT_TRUE(window->widget("Edit1")->hasFocus());
    EXPECT_EQ(spin.text(), "64");
    EXPECT_EQ(view->text(), "64");
}

TEST_F(ViewTest, ProgrammaticChangeShowsWithoutRunningHandlerAgain) {
    auto& spin = make<SpinField>("fineRfr", -100, 100, 5, 0);
    auto& field = make<TextField>("EdTX1");
    field.setUpperCase(true);
    build({&spin, &field});
    int changes = 0;
    spin.onChange = [&] { ++changes; };
    spin.setValue(150);
    EXPECT_EQ(widget<QLineEdit>("fineRfr")->text(), "100");
    EXPECT_EQ(changes, 1);

    // The upper-case echo replaces the text under the cursor but leaves the cursor where it was.
    auto* edit = widget<QLineEdit>("EdTX1");
    type(edit, "abcd");
    edit->setCursorPosition(2);
    type(edit, QString::fromUtf8("яё"));
    EXPECT_EQ(edit->text(), QString::fromUtf8("ABЯЁCD"));
    EXPECT_EQ(field.text(), "AB\xDF\xA8"
                            "CD");
    EXPECT_EQ(edit->cursorPosition(), 4);
    // A character without a Windows-1251 code is left out, not keyed as a question mark.
    type(edit, QString::fromUtf8("é"));
    EXPECT_EQ(edit->text(), QString::fromUtf8("ABЯЁCD"));
    EXPECT_EQ(edit->cursorPosition(), 4);
}

TEST_F(ViewTest, FailureInAnyHandlerEndsInTheSinkWithItsText) {
    auto& spin = make<SpinField>("EdKdel", 1, 1000, 1, 16);
    auto& button = make<Button>("btnPlay", "Start");
    auto& bar = make<ScrollBar>("RFreqScrollBar1", 0, 100, 50, 1, 10);
    spin.setBounds(0, 0, 80, 22);
    button.setBounds(0, 30, 80, 22);
    bar.setBounds(0, 60, 200, 17);
    build({&spin, &button, &bar});
    spin.onChange = [&] { throw Failure("'" + spin.text() + "' is not a valid integer value"); };
    button.onClick = [] { throw Failure("Ошибка аудиоустройства"); };
    bar.onChange = [] { throw Failure("Floating point division by zero"); };

    QTest::keyClick(widget<QLineEdit>("EdKdel"), Qt::Key_Up);
    QTest::mouseClick(widget<QPushButton>("btnPlay"), Qt::LeftButton);
    QTest::keyClick(widget<QScrollBar>("RFreqScrollBar1"), Qt::Key_Right);
    EXPECT_EQ(sink.messages,
              (std::vector<std::string>{"'17' is not a valid integer value", "Ошибка аудиоустройства",
                                        "Floating point division by zero"}));
    // The steps before the failure stay done and the widgets show them.
    EXPECT_EQ(widget<QLineEdit>("EdKdel")->text(), "17");
    EXPECT_EQ(widget<QScrollBar>("RFreqScrollBar1")->value(), 51);
}

TEST_F(ViewTest, ScrollBarHandsOperatorPositionsToModelAndFollowsProgramChanges) {
    auto& bar = make<ScrollBar>("RFreqScrollBar1", 100000, 550000, 100000, 100, 1000);
    bar.setBounds(10, 10, 300, 17);
    build({&bar});
    auto* view = widget<QScrollBar>("RFreqScrollBar1");
    std::vector<int> moves;
    bar.onChange = [&] { moves.push_back(bar.position()); };

    QTest::mouseClick(view, Qt::LeftButton, {}, subControlCentre(view, QStyle::SC_ScrollBarAddLine));
    QTest::mouseClick(view, Qt::LeftButton, {}, subControlCentre(view, QStyle::SC_ScrollBarAddPage));
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_EQ(moves, (std::vector<int>{100100, 101100, 101000, 102000}));

    moves.clear();
    bar.setPosition(137700);
    bar.setRange(137600, 137650);
    EXPECT_EQ(moves, (std::vector<int>{137700, 137650})); // the bar never called back
    EXPECT_EQ(view->minimum(), 137600);
    EXPECT_EQ(view->maximum(), 137650);
    EXPECT_EQ(view->value(), 137650);
    QTest::keyClick(view, Qt::Key_End);
    QTest::keyClick(view, Qt::Key_Right); // at the end: no move, no handler
    EXPECT_EQ(moves.size(), 2u);

    // Dragging: the bar shows what the model made of the wanted position, here a handler's rounding.
    bar.setRange(0, 10000);
    bar.onChange = [&] { bar.setPosition((bar.position() + 500) / 1000 * 1000); };
    view->setSliderDown(true);
    view->setSliderPosition(2600);
    EXPECT_EQ(bar.position(), 3000);
    EXPECT_EQ(view->value(), 3000);
    EXPECT_EQ(view->sliderPosition(), 3000);
    view->setSliderDown(false);
}

TEST_F(ViewTest, ChoiceControlsFollowOperatorClicks) {
    auto& box = make<GroupBox>("GroupBox1", "VFO B");
    box.setBounds(0, 0, 300, 200);
    auto& check = make<CheckBox>("ChBA", "VFO A");
    check.setParent(box);
    check.setBounds(10, 20, 100, 20);
    auto& cw = make<RadioButton>("RBtCWs", "CW", radioSet, true);
    auto& qrss = make<RadioButton>("RBtQrss3s", "QRSS3", radioSet);
    cw.setParent(box);
    qrss.setParent(box);
    cw.setBounds(10, 50, 100, 20);
    qrss.setBounds(10, 80, 100, 20);
    auto& group = make<RadioGroup>("rgR", "", std::vector<std::string>{"Off", "Sine", "Squre"}, 0);
    group.setParent(box);
    group.setBounds(150, 20, 120, 100);
    build({&box, &check, &cw, &qrss, &group});
    int checkClicks = 0, cwClicks = 0, groupClicks = 0;
    check.onClick = [&] { ++checkClicks; };
    cw.onClick = [&] { ++cwClicks; };
    group.onClick = [&] { ++groupClicks; };

    auto* checkView = widget<QCheckBox>("ChBA");
    QTest::mouseClick(checkView, Qt::LeftButton);
    EXPECT_TRUE(check.checked());
    QTest::mouseClick(checkView, Qt::LeftButton);
    EXPECT_FALSE(check.checked());
    EXPECT_EQ(checkClicks, 2);

    auto* cwView = widget<QRadioButton>("RBtCWs");
    auto* qrssView = widget<QRadioButton>("RBtQrss3s");
    QTest::mouseClick(cwView, Qt::LeftButton); // already checked: stays checked, runs nothing
    EXPECT_TRUE(cwView->isChecked());
    QTest::mouseClick(qrssView, Qt::LeftButton);
    EXPECT_TRUE(qrss.checked());
    EXPECT_FALSE(cwView->isChecked());
    cw.setChecked(true);
    EXPECT_FALSE(qrssView->isChecked());
    EXPECT_EQ(cwClicks, 1);

    auto* groupView = widget<tarvel::ui::view::RadioGroupView>("rgR");
    QTest::mouseClick(groupView->buttons()[2], Qt::LeftButton);
    EXPECT_EQ(group.itemIndex(), 2);
    QTest::mouseClick(groupView->buttons()[2], Qt::LeftButton);
    EXPECT_TRUE(groupView->buttons()[2]->isChecked());
    EXPECT_FALSE(groupView->buttons()[0]->isChecked());
    group.setItemIndex(1);
    EXPECT_TRUE(groupView->buttons()[1]->isChecked());
    EXPECT_FALSE(groupView->buttons()[2]->isChecked());
    EXPECT_EQ(groupClicks, 2);
}

TEST_F(ViewTest, ComboFieldListsFreshEntriesAndPickingOneSetsItsValueOnly) {
    auto& field = make<ComboField>("EdPort1", "/dev/ttyS0");
    field.setBounds(10, 10, 126, 21);
    build({&field});
    int changes = 0;
    field.onChange = [&] { ++changes; };
    field.onDropDown = [&] {
        field.setEntries(
            {{"/dev/ttyS0", "/dev/ttyS0"}, {"/dev/ttyUSB0", "/dev/ttyUSB0 \x97 FT232R USB UART"}});
    };
    auto* view = widget<tarvel::ui::view::ComboFieldView>("EdPort1");

    QTest::keyClick(view, Qt::Key_Down, Qt::AltModifier);
    QMenu* list = view->findChild<QMenu*>("EdPort1List");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->actions().size(), 2);
    EXPECT_TRUE(list->actions()[0]->isChecked()); // the one the field holds
    EXPECT_EQ(list->actions()[1]->text(), QString::fromUtf8("/dev/ttyUSB0 — FT232R USB UART"));
    list->actions()[1]->trigger();
    EXPECT_EQ(field.text(), "/dev/ttyUSB0");
    EXPECT_EQ(view->text(), "/dev/ttyUSB0");
    EXPECT_EQ(changes, 1);
    // The field stays free to type.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_1);
    EXPECT_EQ(field.text(), "/dev/ttyUSB01");
    list->hide();
}

TEST_F(ViewTest, MouseEventsReachOnlyTheControlUnderThePointer) {
    auto& panel = make<Panel>("PnTX1", "TX");
    panel.setBounds(0, 0, 200, 100);
    auto& label = make<Label>("LbTimeNow", "12:00:00");
    label.setParent(panel);
    label.setBounds(5, 5, 80, 20);
    auto& button = make<Button>("Btdfcw60i", "60+");
    button.setParent(panel);
    button.setBounds(100, 5, 60, 24);
    build({&panel, &label, &button});
    std::vector<std::string> events;
    auto record = [&](Control& c) {
        c.onClick = [&events, &c] { events.push_back(c.name() + " click"); };
        c.onMouseDown = [&events, &c](MouseButton b) {
            events.push_back(c.name() + (b == MouseButton::Right ? " right" : " left"));
        };
    };
    record(panel);
    record(label);
    record(button);

    QTest::mouseClick(widget<QLabel>("LbTimeNow"), Qt::LeftButton);
    QTest::mouseClick(widget<QLabel>("LbTimeNow"), Qt::RightButton);
    QTest::mouseClick(widget<QPushButton>("Btdfcw60i"), Qt::RightButton);
    QTest::mouseClick(widget<QPushButton>("Btdfcw60i"), Qt::LeftButton);
    QTest::mouseClick(widget<QWidget>("PnTX1"), Qt::LeftButton, {}, QPoint(100, 80));
    EXPECT_EQ(events, (std::vector<std::string>{"LbTimeNow left", "LbTimeNow click", "LbTimeNow right",
                                                "Btdfcw60i right", "Btdfcw60i left", "Btdfcw60i click",
                                                "PnTX1 left", "PnTX1 click"}));
}

TEST_F(ViewTest, MenuItemsBecomeBarActionsAndDropDowns) {
    auto& menu = make<MenuItem>("Menu1", "Menu");
    auto& help = make<MenuItem>("Help1", "Help");
    auto& about = make<MenuItem>("About1", "About");
    auto& log = make<MenuItem>("Log1", "  Log  ");
    help.setParent(menu);
    about.setParent(menu);
    build({&menu, &help, &about, &log});
    std::vector<std::string> clicked;
    for (MenuItem* item : {&help, &about, &log})
        item->onClick = [&clicked, item] { clicked.push_back(item->name()); };

    QMenuBar* bar = window->menuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 2);
    QMenu* dropDown = bar->actions()[0]->menu();
    ASSERT_NE(dropDown, nullptr);
    // Each menu's items get a mnemonic on the first letter that no item before them took.
    EXPECT_EQ(dropDown->title(), "&Menu");
    EXPECT_EQ(dropDown->actions().size(), 2);
    EXPECT_EQ(bar->actions()[1]->menu(), nullptr);
    EXPECT_EQ(bar->actions()[1], window->action("Log1"));

    window->action("About1")->trigger();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(window->action("Log1")).center());
    EXPECT_EQ(clicked, (std::vector<std::string>{"About1", "Log1"}));
    about.setEnabled(false);
    about.setCaption("\xCE \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE5"); // "О программе"
    EXPECT_FALSE(window->action("About1")->isEnabled());
    // A caption without the item's letter shows as it is.
    EXPECT_EQ(window->action("About1")->text(), QString::fromUtf8("О программе"));
    EXPECT_EQ(window->action("Help1")->text(), "&Help");
    EXPECT_EQ(window->action("Log1")->text(), "  &Log  ");

    // The menu bar lies outside the client area the model sizes.
    EXPECT_EQ(window->clientArea()->size(), QSize(400, 300));
    EXPECT_EQ(window->height(), 300 + bar->height());
}

TEST_F(ViewTest, CyrillicTextAndColoursReachTheWidgets) {
    auto& label = make<Label>("Label34", "\xC3\xE5\xED\xE5\xF0\xE0\xF2\xEE\xF0"); // "Генератор"
    label.setBounds(0, 0, 100, 20);
    label.setColor(rgb(255, 0, 0));
    label.setFontColor(rgb(0, 0, 128));
    auto& field = make<TextField>("Ed_id_Start");
    field.setBounds(0, 30, 100, 22);
    field.setHint(":=fr1");
    field.setAccessibleName("Identification before the message");
    build({&label, &field});

    auto* labelView = widget<QLabel>("Label34");
    EXPECT_EQ(labelView->text(), QString::fromUtf8("Генератор"));
    EXPECT_EQ(labelView->accessibleName(), QString::fromUtf8("Генератор"));
    EXPECT_TRUE(labelView->autoFillBackground());
    EXPECT_EQ(labelView->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(labelView->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    label.setColor(kDefaultColor);
    EXPECT_TRUE(labelView->autoFillBackground()); // still opaque, now in its container's colour
    EXPECT_EQ(labelView->palette().color(QPalette::Window),
              window->clientArea()->palette().color(QPalette::Window));

    auto* edit = widget<QLineEdit>("Ed_id_Start");
    EXPECT_EQ(edit->toolTip(), ":=fr1");
    EXPECT_EQ(edit->accessibleName(), "Identification before the message");
    type(edit, QString::fromUtf8("RА3Ё€"));
    EXPECT_EQ(field.text(), "R\xC0"
                            "3\xA8\x88");
    field.setText("\xEF\xF0\xE8\xE2\xE5\xF2"); // "привет"
    EXPECT_EQ(edit->text(), QString::fromUtf8("привет"));
}

TEST_F(ViewTest, FormWindowFollowsModelAndReportsOperatorResize) {
    auto& button = make<Button>("Button8", "OK");
    button.setBounds(10, 10, 50, 25);
    auto& hidden = make<Panel>("PnBuffer", "Buffer Size");
    hidden.setBounds(100, 10, 100, 50);
    hidden.hide();
    build({&button, &hidden}, {.fixedSingleBorder = true});
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowTitle(), "Tarvel 1.2");
    EXPECT_EQ(window->widget("TForm1"), window.get());
    EXPECT_EQ(window->widget("nothing"), nullptr);

    auto* panel = window->widget("PnBuffer");
    EXPECT_FALSE(panel->isVisible());
    hidden.show();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry(), QRect(100, 10, 100, 50));
    button.setEnabled(false);
    button.setLeft(20);
    EXPECT_FALSE(window->widget("Button8")->isEnabled());
    EXPECT_EQ(window->widget("Button8")->pos(), QPoint(20, 10));
    form.setWidth(582);
    EXPECT_EQ(window->size(), QSize(582, 300));

    // A resizable window hands the operator's sizes to its model.
    Form help("TForm4", "Help");
    help.setBounds(0, 0, 875, 412);
    std::vector<std::pair<int, int>> sizes;
    help.onResize = [&] { sizes.emplace_back(help.width(), help.height()); };
    auto helpWindow = FormView::build(help, {}, sink);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(helpWindow.get()));
    helpWindow->resize(600, 400);
    for (int i = 0; i < 200 && help.width() != 600; ++i)
        QTest::qWait(10); // a real window system reports the new size later
    EXPECT_EQ(help.width(), 600);
    EXPECT_EQ(help.height(), 400);
    EXPECT_EQ(sizes.back(), std::make_pair(600, 400));
    helpWindow->close();
    EXPECT_FALSE(help.visible());
}

TEST_F(ViewTest, MemoShowsLinesAndReturnsOperatorEdits) {
    auto& memo = make<Memo>("Memo1");
    memo.setBounds(0, 0, 200, 100);
    memo.setScrollBars(MemoScrollBars::Both);
    build({&memo});
    auto* view = widget<QPlainTextEdit>("Memo1");
    memo.setLines({"first", "\xE2\xF2\xEE\xF0\xE0\xFF"}); // "вторая"
    memo.addLine("third");
    EXPECT_EQ(view->toPlainText(), QString::fromUtf8("first\nвторая\nthird"));
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(memo.lines().size(), 3u); // showing the model did not come back as an edit

    view->moveCursor(QTextCursor::End);
    type(view, "!");
    EXPECT_EQ(memo.lines(), (std::vector<std::string>{"first", "\xE2\xF2\xEE\xF0\xE0\xFF", "third!"}));
    memo.setReadOnly(true);
    EXPECT_TRUE(view->isReadOnly());
}

TEST_F(ViewTest, MemoThatKeepsItsLastLineShowsAddedLinesBeforeIt) {
    auto& memo = make<Memo>("Memo1");
    memo.setKeepsLastLine(true);
    build({&memo});
    auto* view = widget<QPlainTextEdit>("Memo1");
    memo.setLines({"first", ""});
    memo.addLine("second");
    memo.addLine("third");
    EXPECT_EQ(memo.lines(), (std::vector<std::string>{"first", "second", "third", ""}));
    EXPECT_EQ(view->toPlainText(), "first\nsecond\nthird\n");
}

TEST_F(ViewTest, BuilderRefusesControlBeforeItsContainer) {
    auto& panel = make<Panel>("Pnid");
    auto& ok = make<Button>("BtPNid", "Ok");
    ok.setParent(panel);
    EXPECT_THROW(FormView::build(form, {&ok, &panel}, sink), std::invalid_argument);
    // The models stay usable: the half-built widgets let go of them.
    ok.setCaption("OK");
    panel.hide();
}

TEST_F(ViewTest, MessageBoxSinkShowsTheTextAsItStands) {
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    tarvel::ui::view::QMessageBoxSink().show("Unable to open <COM1>");
    EXPECT_EQ(shown, "Unable to open <COM1>");
}

// What an assistive technology sees and does through the accessible interfaces.
QAccessibleInterface* accessible(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}
void doAccessibleAction(QWidget* widget, const QString& action) {
    QAccessibleActionInterface* actions = accessible(widget)->actionInterface();
    ASSERT_TRUE(actions && actions->actionNames().contains(action)) << widget->objectName().toStdString();
    actions->doAction(action);
    QCoreApplication::processEvents();
}

TEST_F(ViewTest, AccessibleActionsDoWhatTheOperatorsClickDoes) {
    auto& check = make<CheckBox>("ChLoop", "");
    check.setAccessibleName("Repeat the message");
    auto& cw = make<RadioButton>("RBtCWs", "CW", radioSet, true);
    auto& qrss = make<RadioButton>("RBtQrss3s", "QRSS3", radioSet);
    auto& group = make<RadioGroup>("rgR", "", std::vector<std::string>{"Off", "Sine", "Squre"}, 0);
    auto& sender = make<Panel>("PnTX1", "TX");
    auto& container = make<Panel>("PnOption", "VFO A");
    auto& clock = make<Label>("LbTimeNow", "12:00:00");
    check.setBounds(0, 0, 20, 20);
    cw.setBounds(0, 30, 80, 20);
    qrss.setBounds(0, 60, 80, 20);
    group.setBounds(100, 0, 120, 100);
    sender.setBounds(0, 110, 40, 20);
    container.setBounds(250, 0, 100, 100);
    clock.setBounds(0, 140, 60, 20);
    build({&check, &cw, &qrss, &group, &sender, &container, &clock});
    std::vector<std::string> events;
    for (Control* c : std::initializer_list<Control*>{&check, &qrss, &group, &sender, &clock})
        c->onClick = [&events, c] { events.push_back(c->name()); };
    clock.onMouseDown = [&events](MouseButton) { events.push_back("LbTimeNow down"); };

    auto* qrssView = widget<QRadioButton>("RBtQrss3s");
    EXPECT_EQ(accessible(qrssView)->role(), QAccessible::RadioButton);
    doAccessibleAction(qrssView, QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(qrss.checked());
    EXPECT_FALSE(cw.checked());
    EXPECT_TRUE(accessible(qrssView)->state().checked);
    EXPECT_FALSE(accessible(widget<QRadioButton>("RBtCWs"))->state().checked);

    QRadioButton* sine = widget<tarvel::ui::view::RadioGroupView>("rgR")->buttons()[1];
    EXPECT_EQ(accessible(sine)->role(), QAccessible::RadioButton);
    EXPECT_EQ(accessible(sine)->text(QAccessible::Name), "Sine");
    doAccessibleAction(sine, QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(group.itemIndex(), 1);
    doAccessibleAction(sine, QAccessibleActionInterface::toggleAction()); // chosen already: stays chosen
    EXPECT_TRUE(sine->isChecked());
    EXPECT_EQ(group.itemIndex(), 1);

    doAccessibleAction(widget<QCheckBox>("ChLoop"), QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(check.checked());
    doAccessibleAction(widget<QWidget>("PnTX1"), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(accessible(widget<QWidget>("PnTX1"))->role(), QAccessible::Button);
    doAccessibleAction(widget<QLabel>("LbTimeNow"), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(events, (std::vector<std::string>{"RBtQrss3s", "rgR", "ChLoop", "PnTX1", "LbTimeNow down",
                                                "LbTimeNow"}));

    // Where a click does nothing, no action claims otherwise.
    EXPECT_TRUE(accessible(widget<QWidget>("PnOption"))->actionInterface()->actionNames().isEmpty());
    sender.setEnabled(false);
    EXPECT_FALSE(accessible(widget<QWidget>("PnTX1"))
                     ->actionInterface()
                     ->actionNames()
                     .contains(QAccessibleActionInterface::pressAction()));
}

TEST_F(ViewTest, AccessibleNamesCarryWhatTheControlShows) {
    auto& tone = make<Label>("Label9");
    tone.setAccessibleName("VFO A output tone, Hz");
    auto& preset = make<Button>("Button6", "3");
    preset.setAccessibleName("QRSS 3 s");
    tone.setBounds(0, 0, 60, 20);
    preset.setBounds(0, 30, 30, 25);
    build({&tone, &preset});
    auto* toneView = widget<QLabel>("Label9");
    EXPECT_EQ(accessible(toneView)->text(QAccessible::Name), "VFO A output tone, Hz");

    // Kept current: the widget's own setter tells assistive technologies of the new name.
    tone.setCaption("30000");
    preset.setCaption(">3<");
    EXPECT_EQ(accessible(toneView)->text(QAccessible::Name), "VFO A output tone, Hz: 30000");
    EXPECT_EQ(accessible(widget<QPushButton>("Button6"))->text(QAccessible::Name), "QRSS 3 s: >3<");

    // A window presents itself as a frame named by its title.
    EXPECT_EQ(accessible(window.get())->role(), QAccessible::Window);
    EXPECT_EQ(accessible(window.get())->text(QAccessible::Name), "Tarvel 1.2");
}

} // namespace

TEST_F(ViewTest, HiddenContainerIsFilledWhenItShowsOrIsAskedForWithItsFieldsInTheirTabPlaces) {
    auto& before = make<TextField>("EdA", "a");
    before.setBounds(5, 5, 60, 21);
    auto& panel = make<Panel>("PnP", "");
    panel.setBounds(5, 30, 300, 100);
    panel.hide();
    auto& inPanel = make<TextField>("EdB", "b");
    inPanel.setParent(panel);
    inPanel.setBounds(5, 5, 60, 21);
    auto& inner = make<Panel>("PnQ", "");
    inner.setParent(panel);
    inner.setBounds(5, 30, 200, 40);
    auto& inInner = make<TextField>("EdC", "c");
    inInner.setParent(inner);
    inInner.setBounds(5, 5, 60, 21);
    auto& after = make<TextField>("EdD", "d");
    after.setBounds(5, 140, 60, 21);
    auto& other = make<Panel>("PnR", "");
    other.setBounds(5, 170, 300, 60);
    other.hide();
    auto& inOther = make<TextField>("EdE", "e");
    inOther.setParent(other);
    build({&before, &panel, &inPanel, &inner, &inInner, &after, &other, &inOther});

    // The hidden panels hold nothing yet; one is filled when a widget in it is asked for.
    EXPECT_TRUE(widget<QWidget>("PnP")->findChildren<QWidget*>().isEmpty());
    EXPECT_TRUE(widget<QWidget>("PnR")->findChildren<QWidget*>().isEmpty());
    EXPECT_EQ(widget<QLineEdit>("EdE")->parentWidget(), window->widget("PnR"));
    EXPECT_TRUE(widget<QWidget>("PnP")->findChildren<QWidget*>().isEmpty());

    // Shown, the panel's fields come in Tab between the fields around it, as if built at once.
    panel.show();
    EXPECT_TRUE(window->widget("EdC")->isVisible());
    window->widget("EdA")->setFocus(Qt::TabFocusReason);
    std::vector<std::string> stops;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        stops.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(stops, (std::vector<std::string>{"EdB", "EdC", "EdD"}));
}

// The overflow arrow is asked of the style only when drawn, and looks as the style draws it; other icons
// come from the style at once.
TEST(DeferredIconStyleTest, TheOverflowArrowIsReadWhenFirstDrawn) {
    struct CountingStyle : QProxyStyle {
        QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                           const QWidget* widget) const override {
            ++asked;
            return QProxyStyle::standardIcon(which, option, widget);
        }
        mutable int asked = 0;
    };
    auto* base = new CountingStyle;
    tarvel::ui::view::DeferredIconStyle style(base);
    const QIcon arrow = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
    EXPECT_EQ(base->asked, 0);
    const QImage drawn = arrow.pixmap(16, 16).toImage();
    EXPECT_EQ(base->asked, 1);
    EXPECT_EQ(drawn, base->QProxyStyle::standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                         .pixmap(16, 16)
                         .toImage());
    style.standardIcon(QStyle::SP_MessageBoxWarning);
    EXPECT_EQ(base->asked, 2);
}
