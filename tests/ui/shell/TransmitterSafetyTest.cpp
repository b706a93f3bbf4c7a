// Every way out of a transmission leaves the key and PTT lines low: a failing step, a lost audio stream,
// and the end of the program while a message is on the air.
#include "ui/ProgramRig.h"
#include "ui/panels/BeaconMessagesPanel.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

using namespace tarvel;
using tarvel::test::ProgramRig;

namespace {

// The program with logging on and its port open, sending message 1 in the mode of the preset button.
void startMessage(ProgramRig& rig, ui::controls::Button& preset, const std::string& text) {
    rig.form->startUp();
    rig.form->mainWindow().Log2.click();
    rig.form->mainWindow().QRSSDFCW2.click();
    preset.click();
    rig.form->mainWindow().EdTX1.setText(text);
    platform::runGuarded(rig.sink, [&] { rig.form->mainWindow().PnTX1.click(); });
}

// A message box waits for the operator: the transmitter must not wait with it.
void expectLinesLowWhenShown(ProgramRig& rig) {
    rig.sink.onShow = [&rig](const std::string& text) {
        EXPECT_FALSE(rig.lines.rts || rig.lines.dtr) << "keyed while showing " << text;
    };
}

// What an unattended transmitter needs after any ending: nothing keyed, nothing scheduled, nothing green.
void expectTransmissionOver(ProgramRig& rig) {
    EXPECT_FALSE(rig.lines.rts);
    EXPECT_FALSE(rig.lines.dtr);
    EXPECT_FALSE(rig.form->transmission().messageRunning());
    EXPECT_FALSE(rig.form->keyerTimer().enabled());
    EXPECT_FALSE(rig.form->transmission().onAir());
    EXPECT_EQ(rig.form->mainWindow().PnTX1.color(), ui::panels::kIdleMessageColor);
    EXPECT_TRUE(rig.form->mainWindow().Label32.visible());
    EXPECT_NE(rig.log().find(" Stop : "), std::string::npos) << rig.log();
}

} // namespace

TEST(TransmitterSafety, AStepThatFailsEndsTheTransmissionBeforeTheOperatorIsTold) {
    // A multiplier of 0 typed during a DFCW message: the next gap's retune divides by it.
    {
        ProgramRig rig;
        startMessage(rig, rig.form->mainWindow().BtDFCW3, "EE");
        rig.time.advance(1001 + 1000); // inside the first 3 s dot
        ASSERT_TRUE(rig.lines.rts && rig.lines.dtr);
        platform::runGuarded(rig.sink, [&] { rig.form->mainWindow().EdKdel.setText("0"); });
        const std::size_t shownBefore = rig.sink.messages.size();
        expectLinesLowWhenShown(rig);
        rig.time.advance(5000);
        ASSERT_EQ(rig.sink.messages.size(), shownBefore + 1);
        EXPECT_EQ(rig.sink.messages.back(), "Floating point division by zero: VFO A multiplier (N) is 0");
        expectTransmissionOver(rig);
        EXPECT_FALSE(rig.form->tone().playing());
    }
    // The same fault already there at Start TX, with the tone playing: its very first step fails.
    {
        ProgramRig rig;
        rig.form->startUp();
        rig.form->mainWindow().btnPlay.click();
        platform::runGuarded(rig.sink, [&] { rig.form->mainWindow().EdKdel.setText("0"); });
        rig.sink.messages.clear();
        expectLinesLowWhenShown(rig);
        rig.form->mainWindow().Log2.click();
        rig.form->mainWindow().QRSSDFCW2.click();
        rig.form->mainWindow().BtDFCW3.click();
        rig.form->mainWindow().EdTX1.setText("E");
        platform::runGuarded(rig.sink, [&] { rig.form->mainWindow().PnTX1.click(); });
        EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Floating point division by zero: VFO A multiplier (N) is 0"});
        expectTransmissionOver(rig);
        rig.time.advance(60000);
        EXPECT_FALSE(rig.lines.rts || rig.lines.dtr);
    }
}

TEST(TransmitterSafety, ALostAudioStreamEndsTheTransmissionAndIsReportedOnceWithItsReason) {
    ProgramRig rig;
    rig.audio->failAfterSubmits = 6;
    startMessage(rig, rig.form->mainWindow().Button6, "EEE"); // QRSS3
    ASSERT_TRUE(rig.lines.dtr);
    expectLinesLowWhenShown(rig);
    // The worker fails on its own thread; the news reaches the keyer through the event loop.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (rig.sink.messages.empty() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.sink.messages,
              std::vector<std::string>{"Ошибка аудиоустройства: test device: No such device"});
    expectTransmissionOver(rig);
    EXPECT_FALSE(rig.form->tone().playing());
    EXPECT_TRUE(rig.form->mainWindow().btnPlay.enabled());
    EXPECT_FALSE(rig.form->mainWindow().btnStop.enabled());
    rig.time.advance(60000);
    EXPECT_FALSE(rig.lines.rts || rig.lines.dtr);
}

TEST(TransmitterSafety, TheEndOfTheProgramEndsTheTransmissionAndClearsBothLinesBeforeThePortCloses) {
    ProgramRig rig;
    startMessage(rig, rig.form->mainWindow().Button6, "TT"); // QRSS3: a dash of 9 s
    rig.time.advance(1001 + 2000);
    ASSERT_TRUE(rig.lines.rts && rig.lines.dtr);
    rig.form->shutDown(); // what a closed window and SIGINT, SIGTERM and SIGHUP lead to
    expectTransmissionOver(rig);
    EXPECT_TRUE(rig.lines.closed);
    EXPECT_EQ(rig.audio->count("close"), 1);
    // Nothing is done a second time when the form itself goes.
    const std::size_t operations = rig.lines.operations.size();
    const std::string log = rig.log();
    rig.form.reset();
    EXPECT_EQ(rig.lines.operations.size(), operations);
    EXPECT_EQ(rig.log(), log);
}

TEST(TransmitterSafety, TheManualPttSwitchIsDroppedAtTheEndOfTheProgram) {
    ProgramRig rig;
    rig.form->startUp();
    rig.form->mainWindow().QRSSDFCW2.click();
    rig.form->mainWindow().Label32.click();
    ASSERT_TRUE(rig.lines.dtr);
    rig.form->shutDown();
    EXPECT_FALSE(rig.lines.dtr);
    EXPECT_TRUE(rig.lines.closed);
    EXPECT_TRUE(rig.log().empty()); // no transmission ran: no stop record
}
