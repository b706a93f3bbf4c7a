#include "ui/ProgramRig.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvel;
using tarvel::test::ProgramRig;

namespace {

void trigger(ProgramRig& rig, const std::string& item) {
    QAction* action = rig.windows->mainWindow().action(item);
    ASSERT_NE(action, nullptr) << item;
    action->trigger();
}

void clickButton(ProgramRig& rig, const std::string& name) {
    auto* button = rig.windows->mainWindow().widgetAs<QAbstractButton>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

TEST(Shell, WindowsCarryTheirCaptionsAndTheMainWindowHasAFixedBorder) {
    ProgramRig rig;
    rig.form->loadAndShow();
    rig.windows = std::make_unique<ui::MainWindow>(*rig.form, rig.sink);
    rig.form->takeKeyboard();
    auto& main = rig.windows->mainWindow();
    EXPECT_EQ(main.windowTitle(), "Tarvel 1.2");
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.focusWidget(), main.widget("Edit1"));
    EXPECT_TRUE(main.fixedSingleBorder());
    EXPECT_FALSE(main.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(rig.windows->logWindow().windowTitle(), "Log");
    EXPECT_EQ(rig.windows->helpWindow().windowTitle(), "Help");
    EXPECT_FALSE(rig.windows->logWindow().isVisible());
    EXPECT_FALSE(rig.windows->keypadWindow().isVisible());
    for (auto* timer : {&rig.form->keyerTimer(), &rig.form->clockTimer(), &rig.form->statusTimer()}) {
        EXPECT_TRUE(timer->enabled());
        EXPECT_EQ(timer->interval(), 1000);
    }
}

TEST(Shell, WorkPutOffUntilTheFirstFrameRunsOnceAfterItInOrderAndLateWorkStillRuns) {
    ProgramRig rig;
    rig.form->loadAndShow();
    rig.windows = std::make_unique<ui::MainWindow>(*rig.form, rig.sink);
    std::vector<std::string> seen;
    struct PaintWatch : QObject {
        std::vector<std::string>& seen;
        explicit PaintWatch(std::vector<std::string>& s) : seen(s) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && seen.empty())
                seen.push_back("painted");
            return false;
        }
    } watch(seen);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.windows->mainWindow()));
    rig.windows->mainWindow().hide();
    rig.windows->mainWindow().installEventFilter(&watch);
    rig.windows->afterFirstFrame([&seen] { seen.push_back("first"); });
    rig.windows->afterFirstFrame([&seen] { seen.push_back("second"); });
    QTest::qWait(50);
    EXPECT_TRUE(seen.empty());
    rig.windows->mainWindow().show();
    ASSERT_TRUE(QTest::qWaitFor([&seen] { return seen.size() == 3; }, 5000));
    EXPECT_EQ(seen, (std::vector<std::string>{"painted", "first", "second"}));
    // Given once the window is on screen, work still runs (no expose will come for it).
    rig.windows->afterFirstFrame([&seen] { seen.push_back("late"); });
    ASSERT_TRUE(QTest::qWaitFor([&seen] { return seen.size() == 4; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(seen.back(), "late");
    EXPECT_EQ(seen.size(), 4u);
}

TEST(Shell, MenuItemsShowTheirPanels) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    auto& m = rig.form->mainWindow();
    for (auto [item, panel] : {std::pair<const char*, ui::controls::Control*>{"P2", &m.PnPrioritet},
                               {"Buffer1", &m.PnBuffer},
                               {"AudioDevice1", &m.PnAudio},
                               {"About1", &m.GrBoxAbout}}) {
        EXPECT_FALSE(panel->visible()) << item;
        trigger(rig, item);
        EXPECT_TRUE(panel->visible()) << item;
        EXPECT_TRUE(rig.windows->mainWindow().widget(panel->name())->isVisible()) << item;
    }
    clickButton(rig, "BitBtn1");
    EXPECT_FALSE(m.GrBoxAbout.visible());

    trigger(rig, "Options2");
    EXPECT_TRUE(m.PnCh.visible());
    EXPECT_EQ(m.TForm1.width(), 590);
    clickButton(rig, "Button1");
    EXPECT_EQ(m.TForm1.width(), 332);
    EXPECT_EQ(rig.windows->mainWindow().clientArea()->width(),
              332 - 8); // the frame is outside the client area
}

TEST(Shell, AudioDeviceChosenInTheWindowIsOpenedFromTheNextStart) {
    ProgramRig rig({}, true);
    rig.pcms.devices = {{"default", ""}, {"plughw:CARD=Device,DEV=0", "USB Audio Device"}};
    rig.form->startUp();
    auto& m = rig.form->mainWindow();
    clickButton(rig, "btnPlay");
    ASSERT_FALSE(rig.audioDevices.empty());
    EXPECT_EQ(rig.audioDevices.back(), "default");

    // Chosen while the tone plays: the stream keeps its device until it starts again.
    trigger(rig, "AudioDevice1");
    m.EdAudio.dropDown();
    m.EdAudio.pick(1);
    EXPECT_EQ(rig.windows->mainWindow().widgetAs<QLineEdit>("EdAudio")->text(), "plughw:CARD=Device,DEV=0");
    clickButton(rig, "BtAudio");
    const std::size_t opened = rig.audioDevices.size();
    clickButton(rig, "btnStop");
    clickButton(rig, "btnPlay");
    ASSERT_GT(rig.audioDevices.size(), opened);
    EXPECT_EQ(rig.audioDevices.back(), "plughw:CARD=Device,DEV=0");
    EXPECT_NE(rig.ini().find("AudioDevice=plughw:CARD=Device,DEV=0\r\n"), std::string::npos);
}

TEST(Shell, HelpShowsReadmeAndCreatesItEmptyWhenMissing) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    trigger(rig, "Help1");
    EXPECT_TRUE(rig.windows->helpWindow().isVisible());
    EXPECT_TRUE(std::filesystem::exists("readme.txt"));
    EXPECT_EQ(mock::readFile("readme.txt"), "");
    EXPECT_TRUE(rig.form->helpWindow().Memo1.lines().empty());

    std::ofstream("readme.txt", std::ios::binary) << "line one\r\nline two\r\n";
    trigger(rig, "Help1");
    EXPECT_EQ(rig.form->helpWindow().Memo1.lines(), (std::vector<std::string>{"line one", "line two"}));
    EXPECT_TRUE(rig.sink.messages.empty());

    // A FIFO in its place: the window and a message at once, instead of waiting for a writer.
    std::filesystem::remove("readme.txt");
    ASSERT_EQ(::mkfifo("readme.txt", 0600), 0);
    rig.form->helpWindow().TForm4.hide();
    ::alarm(30); // a blocked open ends this program rather than hanging it
    trigger(rig, "Help1");
    ::alarm(0);
    EXPECT_TRUE(rig.windows->helpWindow().isVisible());
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"I/O error 6: readme.txt"});
}

// The help window is built only when it first shows, and then shows what its model took meanwhile.
TEST(Shell, HelpWindowIsBuiltWhenFirstShownWithTheTextLoadedBefore) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    const auto helpWindow = [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = dynamic_cast<ui::view::FormWindow*>(widget);
                window && window->objectName() == "TForm4")
                return window;
        return static_cast<ui::view::FormWindow*>(nullptr);
    };
    EXPECT_EQ(helpWindow(), nullptr);
    std::ofstream("readme.txt", std::ios::binary) << "line one\r\nline two\r\n";
    trigger(rig, "Help1");
    ui::view::FormWindow* window = helpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Help");
    auto* memo = window->widgetAs<QPlainTextEdit>("Memo1");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->toPlainText(), "line one\nline two");
}

TEST(Shell, TheLatestStreamsUnderrunsShowInTheStreamPanelsToolTipAndInAbout) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    const QWidget* streamPanel = rig.windows->mainWindow().widget("PnBt");
    ASSERT_NE(streamPanel, nullptr);
    EXPECT_EQ(streamPanel->toolTip(), "Underruns: 0");
    rig.audio->holdOpen = true; // the worker takes no move of VFO A from its queue until released
    clickButton(rig, "btnPlay");
    rig.audio->underruns = 3;
    rig.time.advance(1000); // the spare one-second tick keeps it current while the tone plays
    EXPECT_EQ(streamPanel->toolTip(), "Underruns: 3");
    // A move that finds the queue full is lost, and said beside the underruns.
    for (std::size_t k = 0; k <= audio::VfoAMoveQueue::kCapacity; ++k)
        rig.form->station().tone().retuneVfoAAt(1, std::int64_t{1} << 62, true);
    rig.audio->releaseOpen();
    trigger(rig, "About1");
    EXPECT_EQ(rig.form->mainWindow().LbAboutUnderruns.caption(), "Underruns: 3, VFO A moves lost: 1");
    // The counts of a stream that stopped stay to be read.
    rig.audio->underruns = 4;
    clickButton(rig, "btnStop");
    EXPECT_EQ(streamPanel->toolTip(), "Underruns: 4, VFO A moves lost: 1");
    rig.time.advance(1000);
    EXPECT_EQ(rig.form->mainWindow().LbAboutUnderruns.caption(), "Underruns: 4, VFO A moves lost: 1");
    EXPECT_TRUE(rig.sink.messages.empty());
}

TEST(Shell, PriorityIsAppliedAtStartAndOnOkAndStored) {
    ProgramRig rig("[Param]\r\niPr=2\r\n", true);
    rig.form->startUp();
    EXPECT_EQ(rig.priority.choices, std::vector<int>{2});
    EXPECT_TRUE(rig.form->mainWindow().RBPr2.checked());

    trigger(rig, "P2");
    clickButton(rig, "RBPr1");
    clickButton(rig, "BtPrioritet");
    EXPECT_EQ(rig.priority.choices, (std::vector<int>{2, 1}));
    EXPECT_FALSE(rig.form->mainWindow().PnPrioritet.visible());
    EXPECT_NE(rig.ini().find("iPr=1\r\n"), std::string::npos);
}

TEST(Shell, FailuresOfAnyHandlerReachOneMessageSink) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    trigger(rig, "Options2");
    auto* field = rig.windows->mainWindow().widgetAs<QLineEdit>("EdKdel");
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "x");
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"'x' is not a valid integer value"});
    EXPECT_EQ(rig.form->plan().factors().vfoAFactor, 16);
}

TEST(Shell, FunctionKeysWorkFromAnyControlWithoutTakingTheKey) {
    ProgramRig rig({}, true);
    rig.form->startUp();
    trigger(rig, "Options2");
    auto* field = rig.windows->mainWindow().widgetAs<QLineEdit>("EdminF");
    ASSERT_NE(field, nullptr);
    rig.windows->mainWindow().activateWindow();
    field->setFocus();
    const int fine = rig.form->mainWindow().fineRfr.value();
    QTest::keyClick(field, Qt::Key_F9);
    EXPECT_EQ(rig.form->mainWindow().fineRfr.value(), fine + 5);
    QTest::keyClick(field, Qt::Key_F1);
    EXPECT_NE(rig.ini().find("freq1="), std::string::npos);
    field->selectAll();
    QTest::keyClicks(field, "7");
    EXPECT_EQ(rig.form->mainWindow().EdminF.text(), "7");
}
