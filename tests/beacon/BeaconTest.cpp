// The beacon's passes on virtual time: frames across midnight, the count, the window's loop without a
// frame, and the ways out, with the lines, the tone and the log as an operator would find them.
#include "beacon/Beacon.h"

#include "beacon/Rehearsal.h"
#include "keyer/Presets.h"
#include "mock/Files.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingControlLines.h"
#include "mock/RecordingMessageSink.h"
#include "mock/VirtualTime.h"
#include "ui/ProgramRig.h"

#include <fstream>
#include <gtest/gtest.h>
#include <utility>

namespace tarvel::beacon {
namespace {

using Line = mock::RecordingControlLines::Line;
using Edge = mock::RecordingControlLines::Operation;
constexpr std::int64_t kMinute = 60'000;
// 2026-12-07 23:55:00 UTC: the virtual time's zero.
constexpr std::int64_t kBase = 1796601600LL * 1000 + 23 * 60 * kMinute + 55 * kMinute;

constexpr int kDfcw3Row = 9; // of keyer::Presets
constexpr const char* kSettings = "[Param]\r\nfreq=136000\r\nTA=1\r\nTXT1=E\r\nlog=1\r\n";

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The alarm of a machine busy at a frame's start: the next wake-up comes lateMs after the time asked for.
struct LateOnceAlarm : TimerAlarm {
    using TimerAlarm::TimerAlarm;
    void at(std::int64_t utcMs) override { TimerAlarm::at(utcMs + std::exchange(lateMs, 0)); }
    std::int64_t lateMs = 0;
};

struct BeaconRig {
    explicit BeaconRig(const Options& options) {
        std::ofstream("tarvel.ini", std::ios::binary)
            << "[Param]\r\nfreq=136000\r\nTA=1\r\nTXT1=E\r\nlog=1\r\n";
        EXPECT_EQ(prepareStation(station, options), "");
        openPort(station);
        beacon = std::make_unique<Beacon>(station, alarm, nowUtcMs, options, "E", 0);
        beacon->finished = [this](int status) { statuses.push_back(status); };
        beacon->passStarting = [this](std::int64_t start) { starts.push_back(start); };
        beacon->passSkipped = [this](std::int64_t frame, std::int64_t lateMs) {
            reported.push_back({frame, lateMs});
        };
        beacon->clockStepped = [this](std::int64_t stepMs) { reported.push_back({0, stepMs}); };
    }
    // The system clock set by stepMs, as the kernel tells the alarm. The lines keep the steady time.
    void stepClock(std::int64_t stepMs) {
        clockStepMs += stepMs;
        alarm.onClockStep(stepMs);
    }
    // DTR holds the PTT, RTS keys (the stored choice 0).
    std::vector<Edge> ptt() const { return only(Line::Dtr); }
    std::vector<Edge> key() const { return only(Line::Rts); }
    std::vector<Edge> only(Line line) const {
        std::vector<Edge> out;
        for (const Edge& e : lines.edges())
            if (e.line == line)
                out.push_back(e);
        return out;
    }
    void runToEnd() {
        while (!beacon->done() && time.runNext()) {
        }
    }

    test::WorkingDirectory dir;
    mock::VirtualTime time;
    std::unique_ptr<mock::VirtualTimer> keyerTimer = time.makeTimer(), alarmTimer = time.makeTimer();
    std::int64_t clockStepMs = 0;
    std::function<std::int64_t()> nowUtcMs = [this] { return kBase + clockStepMs + time.nowMs(); };
    mock::RecordingMessageSink sink;
    mock::RecordingControlLines lines{[this] { return kBase + time.nowMs(); }};
    std::shared_ptr<mock::AudioRecord> record = [] {
        auto r = std::make_shared<mock::AudioRecord>();
        r->autoPlay = true;
        return r;
    }();
    std::unique_ptr<mock::VirtualTimer> clockTimer = time.makeTimer();
    const station::NoDeviceList noDevices;
    Station station{{lines, *keyerTimer, *clockTimer, time, sink,
                     [this](const std::string&) { return mock::RecordingAudioDevice::factory(record)(); },
                     noDevices, "tarvel.ini", settings::IniFile::Access::ReadOnly}};
    LateOnceAlarm alarm{*alarmTimer, nowUtcMs};
    std::unique_ptr<Beacon> beacon;
    std::vector<std::int64_t> starts;
    std::vector<std::pair<std::int64_t, std::int64_t>> reported; // {frame, late ms} or {0, clock step ms}
    std::vector<int> statuses;
};

TEST(Beacon, EachPassStartsOnItsFrameWithTheLinesLowBetween) {
    Options options;
    options.everyMs = 10 * kMinute;
    options.offsetMs = 30'000;
    options.count = 2;
    BeaconRig rig(options);
    rig.beacon->begin();
    EXPECT_TRUE(rig.station.tone().playing());
    rig.runToEnd();
    // From 23:55 the frames of 00:00:30 and 00:10:30 of the next day.
    const std::int64_t first = kBase + 5 * kMinute + 30'000;
    EXPECT_EQ(rig.starts, (std::vector<std::int64_t>{first, first + 10 * kMinute}));
    const std::vector<Edge> ptt = rig.ptt();
    ASSERT_EQ(ptt.size(), 4u);
    EXPECT_EQ(ptt[0], (Edge{Line::Dtr, true, first}));
    EXPECT_EQ(ptt[2], (Edge{Line::Dtr, true, first + 10 * kMinute}));
    // Between the passes: PTT low, the key low, and the tone still playing for the loop's lock.
    EXPECT_LT(ptt[1].timeMs, ptt[2].timeMs);
    for (const Edge& key : rig.key())
        EXPECT_TRUE((key.timeMs > ptt[0].timeMs && key.timeMs <= ptt[1].timeMs) ||
                    (key.timeMs > ptt[2].timeMs && key.timeMs <= ptt[3].timeMs));
    EXPECT_TRUE(rig.station.tone().playing());
    EXPECT_EQ(rig.statuses, std::vector<int>{0});
    const std::string log = mock::readFile("vfolog.txt");
    EXPECT_EQ(countOf(log, "Start : "), 2);
    EXPECT_EQ(countOf(log, "  End : "), 2);
    // The window may have the settings open meanwhile: the beacon only reads them.
    EXPECT_EQ(mock::readFile("tarvel.ini"), kSettings);
}

TEST(Beacon, WithoutAFrameThePassesFollowAsTheWindowsLoopSendsThem) {
    Options options;
    options.count = 3;
    BeaconRig rig(options);
    rig.beacon->begin();
    rig.runToEnd();
    EXPECT_EQ(rig.beacon->passesStarted(), 3);
    // PTT rises once and falls once: the loop keeps it up between passes.
    EXPECT_EQ(rig.ptt().size(), 2u);
    EXPECT_EQ(rig.key().size(), 6u);
    EXPECT_EQ(rig.statuses, std::vector<int>{0});
    EXPECT_EQ(countOf(mock::readFile("vfolog.txt"), "Start : "), 3);
}

TEST(Beacon, StopAndFailureEndThePassWithTheLinesLow) {
    for (const bool failure : {false, true}) {
        Options options;
        options.loop = true;
        BeaconRig rig(options);
        rig.beacon->begin();
        // Into the first dot.
        rig.time.advance(1050);
        ASSERT_EQ(rig.lines.rts, true);
        failure ? rig.beacon->fail() : rig.beacon->stop();
        EXPECT_FALSE(rig.lines.rts);
        EXPECT_FALSE(rig.lines.dtr);
        EXPECT_EQ(rig.statuses, std::vector<int>{failure ? 1 : 0});
        EXPECT_NE(mock::readFile("vfolog.txt").find(" Stop : "), std::string::npos);
        // Nothing is keyed afterwards.
        const std::size_t operations = rig.lines.operations.size();
        rig.time.advance(60'000);
        EXPECT_EQ(rig.lines.operations.size(), operations);
    }
}

// The tone lost in the last pass: the transmission ends first, which ends the run, then the loss is told.
TEST(Beacon, AFailureToldAfterThePassItCutShortStillFailsTheRun) {
    BeaconRig rig(Options{});
    rig.beacon->begin();
    rig.time.advance(1050);
    rig.station.transmission().stopTransmission();
    rig.beacon->fail();
    EXPECT_EQ(rig.statuses, (std::vector<int>{0, 1}));
    EXPECT_FALSE(rig.lines.rts || rig.lines.dtr);
}

// Ctrl+Z: the pass on the air ends in order and nothing is keyed while the program is stopped; once it runs
// again the next pass takes the first frame still to come, and the cut pass counts as sent.
TEST(Beacon, APauseEndsThePassInOrderAndTheScheduleCarriesOnAfterIt) {
    Options options;
    options.everyMs = 10 * kMinute;
    options.count = 2;
    BeaconRig rig(options);
    rig.beacon->begin();
    rig.time.advance(5 * kMinute + 1050);
    ASSERT_TRUE(rig.lines.rts);
    rig.beacon->pause();
    const std::size_t operations = rig.lines.operations.size();
    rig.time.advance(25 * kMinute);
    EXPECT_TRUE(!rig.lines.rts && !rig.lines.dtr && rig.lines.operations.size() == operations);
    EXPECT_NE(mock::readFile("vfolog.txt").find(" Stop : "), std::string::npos);
    rig.beacon->resume();
    rig.runToEnd();
    EXPECT_EQ(rig.starts, (std::vector<std::int64_t>{kBase + 5 * kMinute, kBase + 35 * kMinute}));
    EXPECT_EQ(rig.statuses, std::vector<int>{0});
}

// CW "E" from a pass's PTT: the opening pause, the echo's millisecond, the dot, the letter gap.
std::vector<Edge> passFrom(std::int64_t ptt) {
    return {{Line::Dtr, true, ptt}, {Line::Rts, true, ptt + 1001}, {Line::Rts, false, ptt + 1101}};
}

// A wake-up 0.3 s late runs the pass from then, 0.6 s late skips to the next frame. After a clock step the
// beacon waits for the frame the stepped clock reads; a pass on the air keeps its elements, and its
// successor takes the frame after the one it was sent in.
TEST(Beacon, LateWakeUpsAndClockStepsNeverSqueezeAnElement) {
    using Reports = decltype(BeaconRig::reported);
    struct Case {
        std::int64_t lateMs, stepAtMs, stepMs, firstPttMs, secondPttMs; // virtual time
        Reports reported;
    };
    for (const Case& c :
         {Case{300, 0, 0, 5 * kMinute + 300, 15 * kMinute, {}},
          Case{600, 0, 0, 15 * kMinute, 25 * kMinute, {{kBase + 5 * kMinute, 600}}},
          Case{0, kMinute, -3 * kMinute, 8 * kMinute, 18 * kMinute, {{0, -3 * kMinute}}},
          Case{0, kMinute, 3 * kMinute, 2 * kMinute, 12 * kMinute, {{0, 3 * kMinute}}},
          Case{0, 5 * kMinute + 500, -60 * kMinute, 5 * kMinute, 15 * kMinute, {{0, -60 * kMinute}}}}) {
        Options options;
        options.everyMs = 10 * kMinute;
        options.count = 2;
        BeaconRig rig(options);
        rig.alarm.lateMs = c.lateMs;
        rig.beacon->begin();
        rig.time.advance(c.stepAtMs);
        if (c.stepMs != 0)
            rig.stepClock(c.stepMs);
        rig.runToEnd();
        const std::vector<Edge> edges = rig.lines.edges();
        ASSERT_EQ(edges.size(), 8u) << c.firstPttMs;
        EXPECT_EQ(std::vector<Edge>(edges.begin(), edges.begin() + 3), passFrom(kBase + c.firstPttMs));
        EXPECT_EQ(std::vector<Edge>(edges.begin() + 4, edges.begin() + 7), passFrom(kBase + c.secondPttMs));
        EXPECT_EQ(rig.reported, c.reported);
    }
}

// WSPR-2 with half the frames drawn: the frames left out are not counted, each pass sent keys its carrier
// from second 1 of its even minute for 110.592 s, its moves go to the tone once, 3 s ahead, and the two
// messages alternate over the passes sent. A stop between the moves and their frame drops them.
TEST(Beacon, WsprPassesKeyOnTheirFramesInTheDrawnFrames) {
    Options options;
    options.wspr2 = true;
    options.everyMs = 2 * kMinute;
    options.count = 3;
    BeaconRig rig(options);
    std::vector<std::int64_t> leftOut;
    rig.beacon->frameLeftOut = [&](std::int64_t frame) { leftOut.push_back(frame); };
    keyer::wspr::Symbols first{}, second{};
    second.fill(3);
    const std::uint64_t draws[] = {99, 10, 50, 149, 0};
    std::size_t drawn = 0;
    rig.beacon->sendWspr(keyer::wsprpass::Schedule({first, second}, 50, [&] { return draws[drawn++]; }));
    std::vector<std::tuple<std::int64_t, std::int64_t, std::int64_t>> moves; // {virtual ms, word, instant}
    rig.station.tone().vfoAMoveQueued.connect(
        [&](std::int64_t word, std::int64_t ns, bool) { moves.emplace_back(rig.time.nowMs(), word, ns); });
    int drops = 0;
    rig.station.tone().vfoAMovesDropped.connect([&] { ++drops; });
    rig.beacon->begin();
    // From 23:55 the frames of 23:56 (left out), 23:58 (sent), 0:00 (left out), 0:02 (sent) and 0:04.
    rig.time.advance(9 * kMinute - 2000);
    rig.beacon->stop();
    EXPECT_EQ(leftOut, (std::vector<std::int64_t>{kBase + kMinute, kBase + 5 * kMinute}));
    std::vector<Edge> expected;
    for (const std::int64_t frame : {kBase + 3 * kMinute, kBase + 7 * kMinute})
        expected.insert(expected.end(), {{Line::Dtr, true, frame},
                                         {Line::Rts, true, frame + 1000},
                                         {Line::Rts, false, frame + 111'592},
                                         {Line::Dtr, false, frame + 111'592}});
    EXPECT_EQ(rig.lines.edges(), expected);
    ASSERT_EQ(moves.size(), 3u * keyer::wspr::kSymbolCount);
    const std::int64_t frames[] = {3 * kMinute, 7 * kMinute, 9 * kMinute};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const std::int64_t frameMs = frames[i / 162];
        const auto [queuedMs, word, instantNs] = moves[i];
        EXPECT_EQ(queuedMs, frameMs - 3000);
        EXPECT_EQ(instantNs,
                  (frameMs + 1000) * 1'000'000 + keyer::wsprpass::symbolStartNs(static_cast<int>(i % 162)));
        EXPECT_EQ(word, rig.station.plan().vfoAWordMovedBy(i / 162 == 1 ? 2.197265625 : -2.197265625));
    }
    // Two passes ended and the stop before the third frame each let go of VFO A's moves.
    EXPECT_EQ(drops, 3);
    EXPECT_EQ(rig.station.transmission().sequence(), keyer::wsprpass::sequence(second));
    EXPECT_EQ(countOf(mock::readFile("vfolog.txt"), "   WSPR2   00:01:52   \"E\" 136000,0\r\n"), 2);
}

TEST(Beacon, TheRehearsalIsThePassTheBeaconSends) {
    test::WorkingDirectory dir;
    std::ofstream("tarvel.ini", std::ios::binary) << kSettings;
    Options options;
    options.presetRow = 1; // QRSS1: PTT, 1 s pause, the echo's millisecond, a 1 s dot, then the letter gap
    const Rehearsal pass = rehearse("tarvel.ini", options, "E", kBase);
    ASSERT_EQ(pass.error, "");
    ASSERT_FALSE(pass.edges.empty());
    // At once: at the next opportunity of the timer.
    const std::int64_t t0 = pass.edges.front().atUtcMs;
    EXPECT_LE(t0 - kBase, 1);
    EXPECT_EQ(pass.passStarts, std::vector<std::int64_t>{t0});
    EXPECT_EQ(pass.edges, (std::vector<PassEdge>{{t0, true, true},
                                                 {t0 + 1001, false, true},
                                                 {t0 + 2001, false, false},
                                                 {t0 + 2001, true, false}}));
    EXPECT_EQ(pass.lengthMs, 2001);
    EXPECT_EQ(pass.modeLabel, "QRSS1");
    EXPECT_FALSE(pass.shifts);
    EXPECT_FALSE(std::filesystem::exists("vfolog.txt"));

    // DFCW: the dot is keyed on the shifted tone, the dash ("T") on VFO A itself.
    options.presetRow = kDfcw3Row;
    const Rehearsal dfcw = rehearse("tarvel.ini", options, "ET", kBase);
    ASSERT_EQ(dfcw.error, "");
    EXPECT_TRUE(dfcw.shifts);
    std::vector<std::int32_t> keyedShifts;
    for (const PassEdge& edge : dfcw.edges)
        if (!edge.ptt && edge.on)
            keyedShifts.push_back(edge.shiftCentiHz);
    EXPECT_EQ(keyedShifts, (std::vector<std::int32_t>{200, 0}));

    // FSKCW3: one key edge each way; VFO A moves 2 Hz down for the letter gap and back for the dash, and the
    // tone it starts on is not listed.
    options.fskcwDotSeconds = 3;
    const Rehearsal fskcw = rehearse("tarvel.ini", options, "ET", kBase);
    ASSERT_EQ(fskcw.error, "");
    const std::int64_t t = fskcw.edges.front().atUtcMs;
    EXPECT_EQ(fskcw.edges.size(), 4u);
    EXPECT_EQ(fskcw.toneChanges,
              (std::vector<ToneChange>{{(t + 4001) * 1'000'000, -2.0}, {(t + 13'002) * 1'000'000, 0.0}}));
}

} // namespace
} // namespace tarvel::beacon
