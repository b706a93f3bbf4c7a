// Beacon transmissions from Start TX to the end on virtual time: line edges, retunes, log records and what
// the panels are told.
#include "keyer/KeyerRig.h"
#include "keyer/MessageCompiler.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

using namespace tarvel;
using namespace tarvel::test;

namespace {

struct OpenRig : KeyerRig {
    explicit OpenRig(std::string txIniPath = {}) : KeyerRig(std::move(txIniPath)) {
        openPort();
        logbook.setOn(true);
    }
};

} // namespace

TEST(Transmission, CwMessageKeysPttAndElementsAndEndsInTheStepOfTheLastGap) {
    OpenRig rig;
    rig.transmission.setKeying(kCw);
    rig.send("E");
    EXPECT_TRUE(rig.fp.sink.messages.empty());
    EXPECT_EQ(rig.transmission.sequence(), "<E*=");
    EXPECT_TRUE(rig.tone.playing());
    EXPECT_TRUE(rig.tone.heldForTransmission());
    EXPECT_FALSE(rig.manualPtt);
    EXPECT_EQ(rig.element, "//");
    EXPECT_EQ(rig.transmission.estimate().duration, "00:00:01");

    // The 300 ms letter gap runs out with the PTT already released; one more step only shows the end.
    rig.runUntil(1400);
    EXPECT_FALSE(rig.lines.dtr);
    EXPECT_FALSE(rig.transmission.messageRunning());
    EXPECT_TRUE(rig.timer1->enabled());
    rig.runToIdle();
    EXPECT_EQ(rig.time.nowMs(), 1401);
    EXPECT_FALSE(rig.timer1->enabled());

    const std::vector<Edge> expected{dtr(true, 0), rts(true, 1001), rts(false, 1101), dtr(false, 1101)};
    EXPECT_EQ(rig.lines.edges(), expected);
    // Key off precedes PTT off within the last step.
    ASSERT_GE(rig.lines.operations.size(), 2u);
    EXPECT_EQ(rig.lines.operations.back(), dtr(false, 1101));

    EXPECT_EQ(rig.logText(), "Start : 12:00:00    CW   00:00:01   \"E\" 480000,0\r\n"
                             "  End : 12:00:01\r\n");
    EXPECT_EQ(rig.element, "END");
    EXPECT_EQ(rig.transmission.sentText(), "E");
    EXPECT_EQ(rig.sending, false);
    EXPECT_TRUE(rig.messagesIdle);
    EXPECT_TRUE(rig.manualPtt);
    // Start TX started the tone, so the end stops it and lets it go.
    EXPECT_FALSE(rig.tone.playing());
    EXPECT_FALSE(rig.tone.heldForTransmission());
    const std::vector<std::string> trace{"\" \"69", "df=0  3", "df=0  5"};
    EXPECT_EQ(rig.trace, trace);
    EXPECT_EQ(rig.gapShift, "0");
}

TEST(Transmission, TransmissionStartedWhilePlayingLeavesTheStreamPlaying) {
    OpenRig rig;
    rig.act([&] { rig.tone.start(); });
    ASSERT_TRUE(rig.tone.playing());
    rig.send("E");
    EXPECT_TRUE(rig.tone.heldForTransmission());
    rig.runToIdle();
    EXPECT_TRUE(rig.transmission.toneWasPlaying());
    EXPECT_TRUE(rig.tone.playing());
    // Held while the message ran, the tone is let go at its end so the operator can stop it again.
    EXPECT_FALSE(rig.tone.heldForTransmission());
    EXPECT_FALSE(rig.lines.dtr);
    // The worker opens the device on its own thread: wait for that before counting.
    EXPECT_TRUE(rig.record->waitUntil(
        [&] { return std::count(rig.record->events.begin(), rig.record->events.end(), "open") >= 1; }));
    EXPECT_EQ(rig.record->count("open"), 1);
}

TEST(Transmission, Dfcw60RetunesAtEachGapForTheNextElement) {
    OpenRig rig;
    rig.transmission.setKeying(kDfcw60);
    rig.send("A");
    ASSERT_EQ(rig.transmission.sequence(), "<A*,-=");
    // The start marker looks at position 3, the dot: VFO A goes 0.20 Hz lower before the first element.
    EXPECT_EQ(rig.fp.plan.dfcwShift(), 20);
    EXPECT_EQ(rig.fp.vfoA.frequencyWord.load(), KeyerRig::vfoAWord(20));
    EXPECT_NE(KeyerRig::vfoAWord(20), KeyerRig::vfoAWord(0));

    rig.runUntil(1001); // echo at 1000, dot at 1001
    EXPECT_TRUE(rig.lines.rts);
    EXPECT_EQ(rig.fp.vfoA.frequencyWord.load(), KeyerRig::vfoAWord(20));
    rig.runUntil(61001); // the element gap sees the dash
    EXPECT_EQ(rig.fp.plan.dfcwShift(), 0);
    EXPECT_EQ(rig.fp.vfoA.frequencyWord.load(), KeyerRig::vfoAWord(0));
    EXPECT_EQ(rig.gapShift, "0");
    rig.runUntil(91001); // dash after a 30 s gap
    EXPECT_TRUE(rig.lines.rts);

    // The letter gap looks beyond the end: df stays, yet VFO A is retuned.
    rig.fp.vfoA.frequencyWord.store(-1);
    rig.runUntil(151001);
    EXPECT_EQ(rig.fp.vfoA.frequencyWord.load(), KeyerRig::vfoAWord(0));
    rig.runToIdle();
    EXPECT_EQ(rig.time.nowMs(), 151001 + 180000);

    const std::vector<Edge> expected{dtr(true, 0),     rts(true, 1001),    rts(false, 61001),
                                     rts(true, 91001), rts(false, 151001), dtr(false, 151001)};
    EXPECT_EQ(rig.lines.edges(), expected);
    const std::vector<std::string> trace{"\" \"65", "df=20  3", "df=0  5", "df=0  5", "df=0  7"};
    EXPECT_EQ(rig.trace, trace);
    EXPECT_EQ(rig.transmission.estimate().duration, "00:06:31");
}

TEST(Transmission, DfcwLookAheadReachesPastTheNextEchoAfterLetterGapsAndCaret) {
    OpenRig rig;
    rig.transmission.setKeying(kDfcw3);
    rig.transmission.identification().sendStart =
        true; // an empty start ID: only the timing switch and the restore
    rig.send("E T");
    ASSERT_EQ(rig.transmission.sequence(), "<>,^E*= =T-=");
    rig.runUntil(1200); // "^" restores DFCW3 and looks at the dot of E
    EXPECT_EQ(rig.fp.plan.dfcwShift(), 200);
    EXPECT_EQ(rig.fp.vfoA.frequencyWord.load(), KeyerRig::vfoAWord(200));
    rig.runToIdle();
    // The first letter gap after E meets the space's own "=" and keeps the shift; the second one sees
    // the dash of T.
    const auto& memo = rig.trace;
    ASSERT_GE(memo.size(), 7u);
    const std::vector<std::string> tail(memo.end() - 7, memo.end());
    const std::vector<std::string> expected{"TT=100  44", "df=0  4",  "df=200  6", "df=200  8",
                                            "df=0  10",   "df=0  11", "df=0  13"};
    EXPECT_EQ(tail, expected);
    EXPECT_EQ(rig.time.nowMs(), 20203 + 6000);
    EXPECT_EQ(rig.lines.edges().back(), dtr(false, 20203));
}

TEST(Transmission, IdentificationsUseTheirSpeedsAndCaretRestoresTheMessageMode) {
    OpenRig rig;
    rig.transmission.setKeying(kQrss1);
    rig.transmission.identification().sendStart = true;
    rig.transmission.identification().startText = "E";
    rig.transmission.identification().speeds = {false, true, true, false}; // start CW, end QRSS3
    rig.transmission.identification().sendEnd = true; // with an empty text: only the marks
    rig.send("T");
    ASSERT_EQ(rig.transmission.text(), ">E^T#^");
    ASSERT_EQ(rig.transmission.sequence(), "<>,E*=^T-=#,^");

    rig.runUntil(1601); // "<" 1000, ">" 100, "," 100, echo 1, "*" 100, "=" 300
    EXPECT_EQ(rig.transmission.keying(), kQrss1);
    rig.runToIdle();
    // The start ID's dot is a CW dot; the message dash is a QRSS1 dash; the empty end ID still holds a
    // QRSS3 element gap before the closing "^", whose 1000 ms pause is the one the PTT drops at.
    const std::vector<Edge> expected{dtr(true, 0),    rts(true, 1201),  rts(false, 1301),
                                     rts(true, 2602), rts(false, 5602), dtr(false, 14602)};
    EXPECT_EQ(rig.lines.edges(), expected);
    EXPECT_EQ(rig.time.nowMs(), 15602);
    EXPECT_EQ(rig.transmission.keying(), kQrss1);
    EXPECT_EQ(rig.fp.plan.dfcwShift(), 0);
    EXPECT_EQ(rig.transmission.sentText(), "ET");
    const auto& memo = rig.trace;
    EXPECT_NE(std::find(memo.begin(), memo.end(), "TT=100  44"), memo.end());
    EXPECT_NE(std::find(memo.begin(), memo.end(), "TT=3000  44"), memo.end());
    // The estimate counts the ID units too: 1000 + (100 + 100 + 300) + (3000 + 3000) + 3000, plus 1 s.
    EXPECT_EQ(rig.transmission.estimate().duration, "00:00:11");
}

TEST(Transmission, LoopRepeatsPassesWithStartAndEndRecordsUntilUnticked) {
    OpenRig rig;
    rig.transmission.setKeying(kCw);
    rig.transmission.setLoop(true);
    rig.send("E");
    rig.runUntil(1101);
    // End of the first pass: everything stays on, and the next pass is timed from now.
    EXPECT_TRUE(rig.transmission.messageRunning());
    EXPECT_TRUE(rig.lines.dtr);
    EXPECT_EQ(rig.transmission.position(), 1);
    EXPECT_EQ(rig.passStart, "12:00:01");
    EXPECT_FALSE(rig.messagesIdle);
    rig.runUntil(3000); // second pass 1401 ... 2502, third starts at 2802
    rig.transmission.setLoop(false);
    rig.runToIdle();

    const std::vector<Edge> expected{dtr(true, 0),     rts(true, 1001), rts(false, 1101), rts(true, 2402),
                                     rts(false, 2502), rts(true, 3803), rts(false, 3903), dtr(false, 3903)};
    EXPECT_EQ(rig.lines.edges(), expected);
    const std::string start = "    CW   00:00:01   \"E\" 480000,0\r\n";
    EXPECT_EQ(rig.logText(), "Start : 12:00:00" + start + "  End : 12:00:01\r\n" + "Start : 12:00:01" +
                                 start + "  End : 12:00:02\r\n" + "Start : 12:00:02" + start +
                                 "  End : 12:00:03\r\n");
    EXPECT_TRUE(rig.messagesIdle);
    EXPECT_FALSE(rig.tone.playing());
    // The worker opens the device on its own thread: wait for that before counting.
    EXPECT_TRUE(rig.record->waitUntil(
        [&] { return std::count(rig.record->events.begin(), rig.record->events.end(), "open") >= 1; }));
    EXPECT_EQ(rig.record->count("open"), 1);
}

TEST(Transmission, StopTxDuringADotReleasesEverythingAndRestoresAllButTheDfcwMode) {
    OpenRig rig;
    rig.transmission.setKeying(kDfcw3);
    rig.send("E");
    rig.runUntil(2000); // inside the 3 s dot that began at 1001
    ASSERT_TRUE(rig.lines.rts);
    rig.transmission.setKeying(kCw); // a preset chosen during the transmission
    rig.act([&] { rig.transmission.stopTransmission(); });

    const std::vector<Edge> expected{dtr(true, 0), rts(true, 1001), rts(false, 2000), dtr(false, 2000)};
    EXPECT_EQ(rig.lines.edges(), expected);
    EXPECT_FALSE(rig.timer1->enabled());
    EXPECT_FALSE(rig.time.runNext());
    EXPECT_EQ(rig.element, "END");
    EXPECT_TRUE(rig.messagesIdle);
    EXPECT_TRUE(rig.manualPtt);
    EXPECT_FALSE(rig.transmission.messageRunning());
    EXPECT_FALSE(rig.tone.playing());
    EXPECT_EQ(rig.logText(), "Start : 12:00:00    CW   00:00:13   \"E\" 480000,0\r\n"
                             " Stop : 12:00:02   ------  \r\n");
    keyer::KeyingValues restored = kDfcw3;
    restored.dfcwMode = keyer::DfcwMode::Off;
    EXPECT_EQ(rig.transmission.keying(), restored);
    EXPECT_EQ(rig.fp.plan.dfcwShift(), 200); // the shift of the dot stays
}

// A timer that makes the key edge opening each step itself, at the deadline, leaves the lines, the log and
// the panels exactly as the steps alone do: no edge twice, none missing, also with a manual key and Stop TX.
TEST(Transmission, KeyEdgesMadeByTheTimerAtItsDeadlinesAreNotMadeAgainByTheSteps) {
    struct Outcome {
        std::vector<Edge> operations;
        std::string log, element;
        int edgesByTimer = 0;
    };
    const auto send = [](bool edgesByTimer) {
        OpenRig rig;
        rig.timer1->actsAtDeadline = edgesByTimer;
        rig.transmission.setKeying(kCw);
        rig.send("EA");
        rig.runUntil(1350); // the gap after E's echo: the key-down of A's dot is handed over
        rig.act([&] { rig.transmission.keyDown(); });
        rig.runToIdle();
        rig.send("T");
        rig.runUntil(rig.time.nowMs() + 1050); // inside the dash, whose edge the timer made
        rig.act([&] { rig.transmission.stopTransmission(); });
        rig.runToIdle();
        return Outcome{rig.lines.operations, rig.logText(), rig.element, rig.timer1->actionsRun};
    };
    const Outcome steps = send(false), timer = send(true);
    EXPECT_EQ(steps.edgesByTimer, 0);
    EXPECT_GE(timer.edgesByTimer, 6);
    EXPECT_EQ(timer.operations, steps.operations);
    EXPECT_EQ(timer.log, steps.log);
    EXPECT_EQ(timer.element, steps.element);
    EXPECT_EQ(timer.operations.back().on, false);
}

TEST(Transmission, FirstTimerStepAfterStartUpOnlyShowsTheEnd) {
    KeyerRig rig;
    rig.openPort();
    rig.timer1->setInterval(1000);
    rig.timer1->setEnabled(true);
    rig.runToIdle();
    EXPECT_EQ(rig.time.nowMs(), 1000);
    EXPECT_EQ(rig.element, "END");
    EXPECT_TRUE(rig.messagesIdle);
    EXPECT_TRUE(rig.lines.operations.empty());
    EXPECT_TRUE(rig.fp.sink.messages.empty());
}

TEST(Transmission, SingleElementActionsByHand) {
    OpenRig rig;
    rig.transmission.setKeying(kCw);
    rig.transmission.setSequence("<E*,-=", 3);
    rig.transmission.dot();
    EXPECT_TRUE(rig.lines.rts);
    EXPECT_EQ(rig.element, "*");
    EXPECT_EQ(rig.timer1->interval(), 100);
    EXPECT_EQ(rig.transmission.position(), 4);
    rig.transmission.elementGap();
    EXPECT_FALSE(rig.lines.rts);
    EXPECT_EQ(rig.element, "/");
    rig.transmission.dash();
    EXPECT_EQ(rig.timer1->interval(), 300);
    EXPECT_EQ(rig.element, "==");
    rig.transmission.letterGap();
    EXPECT_EQ(rig.element, "-----");
    EXPECT_EQ(rig.transmission.position(), 7);
    rig.transmission.rewind();
    EXPECT_EQ(rig.transmission.position(), 1);
    rig.transmission.keyDown();
    EXPECT_TRUE(rig.lines.rts);
    rig.transmission.keyUp();
    EXPECT_FALSE(rig.lines.rts);
    rig.transmission.openingPause();
    EXPECT_EQ(rig.element, "//");
    EXPECT_EQ(rig.timer1->interval(), 1000);
    rig.transmission.stepKeyer(); // one step by hand: the echo at position 2
    EXPECT_EQ(rig.transmission.sentText(), "E");
    EXPECT_EQ(rig.timer1->interval(), 1);
}

TEST(Transmission, StartSettingsWriteFailureGivesBackPttAndStreamBeforeItIsShown) {
    OpenRig rig("no-such-folder/tarvel.ini");
    rig.transmission.setKeying(kCw);
    rig.send("E");
    ASSERT_EQ(rig.fp.sink.messages.size(), 1u);
    EXPECT_EQ(rig.fp.sink.messages[0].rfind("Unable to write to ", 0), 0u);
    const std::vector<Edge> expected{dtr(true, 0), dtr(false, 0)};
    EXPECT_EQ(rig.lines.edges(), expected);
    EXPECT_FALSE(rig.tone.playing());
    EXPECT_FALSE(rig.tone.heldForTransmission());
    EXPECT_TRUE(rig.manualPtt);
    EXPECT_FALSE(rig.transmission.messageRunning());
    EXPECT_TRUE(rig.messagesIdle);
    EXPECT_FALSE(rig.timer1->enabled());
    EXPECT_TRUE(rig.logText().empty());
}

TEST(Transmission, StartSettingsWriteFailureLeavesAStreamThatAlreadyPlayedWithItsStopButton) {
    OpenRig rig("no-such-folder/tarvel.ini");
    rig.act([&] { rig.tone.start(); });
    rig.send("E");
    EXPECT_EQ(rig.fp.sink.messages.size(), 1u);
    EXPECT_TRUE(rig.tone.playing());
    EXPECT_FALSE(rig.tone.heldForTransmission());
    EXPECT_FALSE(rig.lines.dtr);
}

TEST(Transmission, StartStoresTheFourMessagesAndTracesTheCompilation) {
    OpenRig rig;
    rig.messages.setText(3, "\xCC\xC8\xD0"); // МИР
    rig.send("E!");
    const std::string ini = readFile(rig.fp.ini.path());
    const auto at = [&](const char* key) { return ini.find(key); };
    ASSERT_NE(at("TXT4=\r\n"), std::string::npos);
    EXPECT_LT(at("TXT1=E\r\n"), at("TXT2=A\r\n"));
    EXPECT_LT(at("TXT2=A\r\n"), at("TXT3=\xCC\xC8\xD0\r\n"));
    EXPECT_LT(at("TXT3="), at("TXT4="));
    EXPECT_EQ(rig.transmission.sequence(), "<E*=");
    ASSERT_GE(rig.trace.size(), 3u);
    EXPECT_EQ(rig.trace[1], "\" \"33");
    EXPECT_EQ(rig.trace[2], std::string(keyer::kUnknownCharacterTrace) + "33");
}

TEST(Transmission, EstimateGivesDurationStartAndEndAndFollowsTheIdSpeeds) {
    KeyerRig rig;
    rig.transmission.setKeying(kDfcw60);
    rig.transmission.setSequence("<A*,-=", 1);
    rig.runUntil(3600000); // 13:00:00
    rig.transmission.refreshEstimate();
    EXPECT_EQ(rig.transmission.estimate().duration, "00:06:31");
    EXPECT_EQ(rig.transmission.estimate().start, "13:00:00");
    EXPECT_EQ(rig.transmission.estimate().end, "13:06:31");

    // An end ID in QRSS3: the dot counts 3000 ms, its gap 3000 / 2, the DFCW60 factors staying.
    rig.transmission.setSequence("<#,E*=^", 1);
    rig.transmission.identification().speeds.endCw = false;
    rig.transmission.identification().speeds.endQrss3 = true;
    rig.transmission.refreshEstimate();
    EXPECT_EQ(rig.transmission.estimate().duration, "00:01:14"); // 60000 + 1500 + 3000 + 9000 + 1000
}

namespace {

// VFO A's moves as the tone was handed them: word, instant (ns), continuous, and the virtual ms it was then.
using Move = std::tuple<std::int64_t, std::int64_t, bool, std::int64_t>;
struct Moves : OpenRig {
    Moves() {
        tone.vfoAMoveQueued.connect([this](std::int64_t word, std::int64_t instantNs, bool continuous) {
            moves.emplace_back(word, instantNs, continuous, time.nowMs());
        });
        tone.vfoAMovesDropped.connect([this] { ++drops; });
    }
    std::vector<Move> moves;
    int drops = 0;
};

constexpr std::int64_t kMs = 1'000'000;

} // namespace

// DFCW's retunes reach the tone at their step's deadline, each once: the first step's at once, every later
// one when the timer is armed for its step, a whole wait ahead. The end lets go of them.
TEST(Transmission, DfcwRetunesGoToTheToneAtTheirDeadlineAWaitAhead) {
    Moves rig;
    rig.transmission.setKeying(kDfcw60);
    rig.send("A");
    rig.runToIdle();
    const std::vector<Move> expected{{KeyerRig::vfoAWord(20), 0, false, 0},
                                     {KeyerRig::vfoAWord(0), 61001 * kMs, false, 1001},
                                     {KeyerRig::vfoAWord(0), 151001 * kMs, false, 91001}};
    EXPECT_EQ(rig.moves, expected);
    EXPECT_EQ(rig.drops, 1);
}

// A step of 162 phase-continuous moves (a symbol every 8192/12000 s) goes to the tone in one piece when the
// timer is armed for it, at its deadline plus each offset, with the words of the plan's formula; Stop TX
// lets go of those not yet played and VFO A's stored word plays again.
TEST(Transmission, ShiftVfoAMovesOfAStepGoAheadOnceAndStopTxDropsThem) {
    Moves rig;
    rig.transmission.setKeying(kQrss1);
    const auto offset = [](int k) { return (k % 4) * 12000.0 / 8192; };
    rig.transmission.setStepSource([&](keyer::PlanState& state, const keyer::StepConditions& conditions) {
        const std::int32_t position = state.position;
        keyer::Actions actions = keyer::KeyerPlan(rig.transmission.sequence()).step(state, conditions);
        for (int k = 0; position == 3 && k < 162; ++k)
            actions.push_back(keyer::action::ShiftVfoA{k * 8192LL * 1'000'000'000 / 12000, offset(k)});
        return actions;
    });
    rig.send("E");
    ASSERT_EQ(rig.transmission.sequence(), "<E*=");
    rig.runUntil(1001); // the dot, position 3, began at 1001
    ASSERT_EQ(rig.moves.size(), 162u);
    for (int k = 0; k < 162; ++k) {
        const Move expected{rig.fp.plan.vfoAWordMovedBy(offset(k)),
                            1001 * kMs + k * 8192LL * 1'000'000'000 / 12000, true, 1000};
        ASSERT_EQ(rig.moves[static_cast<std::size_t>(k)], expected) << k;
    }
    EXPECT_EQ(rig.fp.plan.vfoAWordMovedBy(12000.0 / 8192 * 16) - rig.fp.plan.vfoAWord(), 12000 / 2);
    EXPECT_EQ(rig.drops, 0);
    rig.act([&] { rig.transmission.stopTransmission(); });
    EXPECT_EQ(rig.drops, 1);
    EXPECT_EQ(rig.moves.size(), 162u);
    EXPECT_FALSE(rig.lines.rts);
    EXPECT_FALSE(rig.lines.dtr);
}
