#include "ui/ProgramRig.h"
#include "ui/panels/BeaconMessagesPanel.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

using namespace tarvel;
using tarvel::test::ProgramRig;
using Line = mock::RecordingControlLines::Line;
using Op = mock::RecordingControlLines::Operation;

namespace {

void click(ProgramRig& rig, const std::string& name) {
    QWidget* widget = rig.windows->mainWindow().widget(name);
    ASSERT_NE(widget, nullptr) << name;
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

} // namespace

TEST(BeaconScenario, OperatorSendsCwMessageFromThePanel) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    rig.windows->mainWindow().action("Log2")->trigger();
    rig.windows->mainWindow().action("QRSSDFCW2")->trigger();
    ASSERT_EQ(rig.lines.openAttempts, std::vector<std::string>{"/dev/ttyS0"});
    auto* text = rig.windows->mainWindow().widgetAs<QLineEdit>("EdTX1");
    ASSERT_NE(text, nullptr);
    text->setFocus();
    QTest::keyClicks(text, "e");
    EXPECT_EQ(rig.form->mainWindow().EdTX1.text(), "E");

    const std::int64_t t0 = rig.time.nowMs();
    click(rig, "PnTX1");
    EXPECT_EQ(rig.form->mainWindow().PnTX1.color(), ui::panels::kRunningMessageColor);
    EXPECT_TRUE(rig.form->tone().playing());
    EXPECT_EQ(rig.form->mainWindow().LbTTX.caption(), "00:00:01");
    rig.time.advance(5000);

    // Key line choice 0: RTS keys, DTR holds the PTT; the PTT drops as the final letter gap begins.
    EXPECT_EQ(rig.lines.edges(), (std::vector<Op>{{Line::Dtr, true, t0},
                                                  {Line::Rts, true, t0 + 1001},
                                                  {Line::Rts, false, t0 + 1101},
                                                  {Line::Dtr, false, t0 + 1101}}));
    EXPECT_FALSE(rig.form->tone().playing());
    EXPECT_EQ(rig.form->mainWindow().Lbo.caption(), "END");
    EXPECT_EQ(rig.form->mainWindow().PnTX1.color(), ui::panels::kIdleMessageColor);
    // Lbmode still shows its design caption "  CW" (two blanks) until a preset is chosen.
    const std::string log = rig.log();
    EXPECT_NE(log.find("Start : 12:00:00     CW   00:00:01   \"E\" 100000,0\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("  End : 12:00:01\r\n"), std::string::npos) << log;
    EXPECT_NE(rig.ini().find("TXT1=E\r\n"), std::string::npos);
    EXPECT_TRUE(rig.sink.messages.empty());
}

TEST(BeaconScenario, PresetChosenDuringATransmissionTimesTheNextElement) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    rig.windows->mainWindow().action("QRSSDFCW2")->trigger();
    rig.form->mainWindow().EdTX2.setText("EE");
    const std::int64_t t0 = rig.time.nowMs();
    click(rig, "PnTX2");
    rig.time.advance(1001 + 50); // inside the first dot
    click(rig, "Button6");       // QRSS3
    EXPECT_EQ(rig.form->mainWindow().Lbmode.caption(), "QRSS3");
    rig.time.advance(60000);
    const auto edges = rig.lines.edges();
    ASSERT_GE(edges.size(), 5u);
    EXPECT_EQ(edges[2], (Op{Line::Rts, false, t0 + 1101}));       // the dot keeps its CW length
    EXPECT_EQ(edges[3], (Op{Line::Rts, true, t0 + 1101 + 9001})); // then a 9 s QRSS3 letter gap
}

TEST(BeaconScenario, MessageWhoseStreamCannotStartDoesNotLookAsIfSending) {
    ProgramRig rig;
    rig.form->startUp();
    rig.audio->probeFails = true;
    rig.form->mainWindow().EdTX1.setText("E");
    platform::runGuarded(rig.sink, [&] { rig.form->mainWindow().PnTX1.click(); });
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Ошибка аудиоустройства"});
    EXPECT_FALSE(rig.form->transmission().messageRunning());
    EXPECT_EQ(rig.form->mainWindow().PnTX1.color(), ui::panels::kIdleMessageColor);
    EXPECT_FALSE(rig.lines.dtr);
}
