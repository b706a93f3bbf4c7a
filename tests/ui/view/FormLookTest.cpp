#include "mock/RecordingMessageSink.h"
#include "platform/Locale.h"
#include "ui/controls/Simple.h"
#include "ui/controls/TextField.h"
#include "ui/forms/KeypadForm.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"
#include "ui/forms/StyleTable.h"
#include "ui/view/FormView.h"
#include "ui/view/SpinFieldView.h"

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarvel::ui::controls;
using tarvel::ui::view::FormView;
using tarvel::ui::view::FormWindow;
using tarvel::ui::view::SpinFieldView;
using tarvel::ui::view::TextFieldView;
namespace forms = tarvel::ui::forms;

namespace {

void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

// What the operator sees at a point of the window's client area, whatever widget draws it.
QColor seenAt(const FormWindow& window, QPoint point) {
    return window.clientArea()->grab().toImage().pixelColor(point);
}

class FormLookTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "ui_view_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            new QApplication(argc, argv);
        tarvel::platform::setDecimalSeparator('.');
    }

    tarvel::mock::RecordingMessageSink sink;
};

TEST_F(FormLookTest, PopUpsHideTheControlsTheyOpenOver) {
    Form form("TForm1", "Tarvel");
    form.setBounds(0, 0, 300, 200);
    Button under("BtF4", "0");
    under.setBounds(10, 10, 120, 60);
    under.setColor(rgb(255, 0, 0));
    Panel popUp("PnPort");
    popUp.setBounds(0, 0, 200, 100);
    popUp.hide();
    Label colourBox("Label9"); // no caption: only its colour shows
    colourBox.setParent(popUp);
    colourBox.setBounds(150, 70, 40, 13);
    colourBox.setColor(rgb(204, 204, 204));
    GroupBox about("GrBoxAbout");
    about.setBounds(0, 0, 200, 100);
    about.setColor(rgb(0, 128, 255));
    about.hide();
    auto window = FormView::build(form, {&under, &popUp, &colourBox, &about}, sink);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QPoint covered(60, 40);
    const QColor face = window->clientArea()->palette().color(QPalette::Window);
    ASSERT_NE(seenAt(*window, covered), face); // the red button shows while nothing covers it

    popUp.show();
    QWidget* panel = window->widget("PnPort");
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_EQ(panel->palette().color(QPalette::Window), face);
    EXPECT_EQ(window->clientArea()->childAt(covered), panel);
    EXPECT_EQ(seenAt(*window, covered), face);
    EXPECT_EQ(window->widget("Label9")->geometry(), QRect(150, 70, 40, 13));
    EXPECT_EQ(seenAt(*window, QPoint(170, 76)), QColor(204, 204, 204));

    popUp.hide();
    about.show();
    EXPECT_EQ(window->clientArea()->childAt(covered), window->widget("GrBoxAbout"));
    EXPECT_EQ(seenAt(*window, covered), QColor(0, 128, 255));
}

TEST_F(FormLookTest, BorderlessFieldShowsItsContainersColourAndTypingLimitSparesProgramTexts) {
    Form form("TForm1", "Tarvel");
    form.setBounds(0, 0, 300, 200);
    Panel panel("Panel3");
    panel.setBounds(0, 0, 300, 100);
    panel.setColor(rgb(0, 160, 0));
    TextField ttx("EdTtx");
    ttx.setParent(panel);
    ttx.setBounds(10, 10, 100, 17);
    TextField limited("EdLimited");
    limited.setParent(panel);
    limited.setBounds(10, 40, 100, 21);
    forms::StyleTable styles;
    styles[ttx].borderless = true;
    styles[limited].maxLength = 4;
    styles[form].fixedSize = true;
    auto window = FormView::build(form, {&panel, &ttx, &limited}, sink, {.styles = &styles});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());

    auto* ttxView = window->widgetAs<TextFieldView>("EdTtx");
    ASSERT_NE(ttxView, nullptr);
    EXPECT_FALSE(ttxView->hasFrame());
    const QPoint blank(100, 18); // right of any text
    EXPECT_EQ(seenAt(*window, blank), QColor(0, 160, 0));
    ttx.setColor(rgb(255, 255, 0)); // a colour of its own wins
    EXPECT_EQ(seenAt(*window, blank), QColor(255, 255, 0));
    ttx.setColor(kDefaultColor);
    EXPECT_EQ(seenAt(*window, blank), QColor(0, 160, 0));
    EXPECT_NE(seenAt(*window, QPoint(100, 50)), QColor(0, 160, 0)); // a framed field keeps its own base

    auto* edit = window->widgetAs<TextFieldView>("EdLimited");
    ASSERT_NE(edit, nullptr);
    type(edit, "abcdef");
    EXPECT_EQ(limited.text(), "abcd");
    limited.setText("ABCDEFG");
    EXPECT_EQ(edit->text(), "ABCDEFG");
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace); // shortening stays possible
    type(edit, "X");
    EXPECT_EQ(limited.text(), "ABCDEF");
    EXPECT_EQ(edit->text(), "ABCDEF");
}

TEST_F(FormLookTest, MainWindowShowsItsInventoryStylesAndStacking) {
    forms::MainForm f;
    auto window = FormView::build(f, sink);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(window->fixedSingleBorder());
    EXPECT_TRUE(window->widget("Lbmode")->font().bold());
    EXPECT_FALSE(window->widget("Lbo")->font().bold());
    EXPECT_FALSE(window->widgetAs<TextFieldView>("EdTtx")->hasFrame());
    EXPECT_TRUE(window->widgetAs<TextFieldView>("EdTX1")->hasFrame());

    // A caption-less coloured label keeps its designed box.
    EXPECT_EQ(window->widget("Label9")->geometry(), QRect(150, 34, 64, 13));
    const QPoint label9 = window->widget("Label9")->mapTo(window->clientArea(), QPoint(32, 6));
    EXPECT_EQ(seenAt(*window, label9), QColor(204, 204, 204));

    // The pop-ups come after the groups they open over: the port panel hides the memory button.
    const QPoint overBtF4(240, 100);
    EXPECT_EQ(window->clientArea()->childAt(overBtF4), window->widget("BtF4"));
    f.PnPort.show();
    EXPECT_EQ(window->clientArea()->childAt(overBtF4), window->widget("PnPort"));
    f.PnPort.hide();
    // The beacon panel lies over the options panel even while both are visible.
    f.Panel3.show();
    const QPoint overOptions = window->widget("Button2")->mapTo(window->clientArea(), QPoint(25, 12));
    EXPECT_TRUE(window->widget("Panel3")->isAncestorOf(window->clientArea()->childAt(overOptions)) ||
                window->clientArea()->childAt(overOptions) == window->widget("Panel3"));

    // The buffer size takes eight characters; its step buttons fit the field's height.
    f.PnBuffer.show();
    auto* buffer = window->widgetAs<SpinFieldView>("SpinEdit1");
    ASSERT_NE(buffer, nullptr);
    f.SpinEdit1.setText("");
    buffer->setFocus();
    type(buffer, "1234567890");
    EXPECT_EQ(f.SpinEdit1.text(), "12345678");
    EXPECT_EQ(buffer->height(), 21);
    const QRect buttons = buffer->upButton()->geometry().united(buffer->downButton()->geometry());
    EXPECT_TRUE(buffer->rect().contains(buttons));
    EXPECT_GE(buffer->upButton()->height(), 8);
    EXPECT_GE(buffer->downButton()->height(), 8);
}

TEST_F(FormLookTest, KeypadButtonsAreBoldAndTheLogIsFixedPitch) {
    forms::KeypadForm keypad;
    auto keypadWindow = FormView::build(keypad, sink);
    for (const char* name : {"Bt1", "Bt8", "Bt9", "Bt14"})
        EXPECT_TRUE(keypadWindow->widget(name)->font().bold()) << name;
    EXPECT_FALSE(keypadWindow->fixedSingleBorder());

    forms::LogForm log;
    auto logWindow = FormView::build(log, sink);
    QWidget* memo = logWindow->widget("Memo1");
    EXPECT_EQ(memo->font().families().value(0), "Courier");
    // Where no Courier is installed a monospace font stands in.
    EXPECT_TRUE(QFontInfo(memo->font()).fixedPitch());
    EXPECT_FALSE(QFontInfo(logWindow->font()).fixedPitch());
}

} // namespace
