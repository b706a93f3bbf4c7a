#include "platform/Locale.h"
#include "ui/ProgramRig.h"
#include "ui/view/SpinFieldView.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace tarvel;
using tarvel::test::ProgramRig;

namespace {

ui::view::SpinFieldView* spin(ProgramRig& rig, const std::string& name) {
    return rig.windows->mainWindow().widgetAs<ui::view::SpinFieldView>(name);
}

void activate(ProgramRig& rig) {
    rig.windows->mainWindow().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.windows->mainWindow()));
}

void paste(QLineEdit* field, const char* text) {
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    field->insert(text);
}

void typeInto(QLineEdit* field, const char* text) {
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, text);
}

} // namespace

TEST(Tuning, OperatorTunesVfoAWithFineCarriesAndTheBarPullingBack) {
    platform::setDecimalSeparator(',');
    ProgramRig rig("[Param]\r\nfreq=137600\r\nMaxF=138000\r\nMinF=137000\r\n", true);
    rig.form->startUp();
    activate(rig);
    auto& m = rig.form->mainWindow();
    auto* fine = spin(rig, "fineRfr");
    ASSERT_NE(fine, nullptr);
    typeInto(fine, "95");
    QTest::mouseClick(fine->upButton(), Qt::LeftButton);
    EXPECT_EQ(m.fineRfr.value(), 0);
    EXPECT_EQ(m.seRfreq.value(), 137601);
    EXPECT_EQ(fine->text(), "0");
    EXPECT_EQ(spin(rig, "seRfreq")->text(), "137601");

    typeInto(fine, "150"); // +1.50 Hz while typed, 100 → carry when the field is left
    EXPECT_EQ(rig.form->vfoA().frequencyWord.load(), std::llrint(137602.5 * 4096 / 16));
    QTest::mouseClick(spin(rig, "seLfreq"), Qt::LeftButton);
    EXPECT_EQ(m.fineRfr.value(), 0);
    EXPECT_EQ(m.seRfreq.value(), 137602);

    // A frequency pasted above the tuning range is pulled back to its upper end. (Typed digit by digit,
    // each partial number is pulled into the range as it appears.)
    paste(spin(rig, "seRfreq"), "139000");
    EXPECT_EQ(m.seRfreq.value(), 138000);
    EXPECT_EQ(m.Label9.caption(), "8625");
    EXPECT_EQ(m.Label9.color(), ui::panels::kLightGrey);
    platform::setDecimalSeparator(std::nullopt);
}

TEST(Tuning, OperatorSetsTheRangeAndStoresAndRecallsMemories) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    activate(rig);
    auto& m = rig.form->mainWindow();
    rig.windows->mainWindow().action("Options2")->trigger();
    typeInto(rig.windows->mainWindow().widgetAs<QLineEdit>("EdmaxF"), "10");
    QTest::mouseClick(rig.windows->mainWindow().widgetAs<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Scrollbar property out of range"});
    EXPECT_EQ(rig.ini().find("MaxF"), std::string::npos);

    typeInto(rig.windows->mainWindow().widgetAs<QLineEdit>("EdmaxF"), "137800");
    QTest::mouseClick(rig.windows->mainWindow().widgetAs<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(m.seRfreq.value(), 137600); // 100000 lay below the new range

    paste(spin(rig, "seRfreq"), "137800");
    typeInto(spin(rig, "fineRfr"), "25");
    QTest::mouseClick(rig.windows->mainWindow().widgetAs<QPushButton>("BtF2w"), Qt::LeftButton);
    EXPECT_EQ(m.BtF2.caption(), "137800");
    paste(spin(rig, "seRfreq"), "137700");
    QTest::mouseClick(rig.windows->mainWindow().widgetAs<QPushButton>("BtF2"), Qt::LeftButton);
    EXPECT_EQ(m.seRfreq.value(), 137800);
    EXPECT_EQ(m.fineRfr.value(), 25);

    // The keypad: a right press stores, a left click recalls.
    QTest::mouseClick(rig.windows->mainWindow().widgetAs<QPushButton>("BtKnF"), Qt::LeftButton);
    EXPECT_TRUE(rig.windows->keypadWindow().isVisible());
    auto* bt7 = rig.windows->keypadWindow().widgetAs<QPushButton>("Bt7");
    QTest::mousePress(bt7, Qt::RightButton);
    QTest::mouseRelease(bt7, Qt::RightButton);
    EXPECT_NE(rig.ini().find("freq11=137800\r\n01x11=25\r\n"), std::string::npos);
    paste(spin(rig, "seRfreq"), "137650");
    QTest::mouseClick(bt7, Qt::LeftButton);
    EXPECT_EQ(m.seRfreq.value(), 137800);
}
