#include "audio/OutputStream.h"

#include "ReferenceStream.h"
#include "mock/RecordingAudioDevice.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tarvel::audio {
namespace {

using mock::AudioRecord;
using mock::RecordingAudioDevice;
using synth::WaveformKind;
using test::hertz;
using test::Tone;

constexpr int frames = 4096; // the smallest buffer setting, 16 KiB

const Tone sine1000{WaveformKind::Sine, 22000, hertz(1000)};
const Tone square441{WaveformKind::Square, 9000, hertz(441)};

class OutputStreamTest : public ::testing::Test {
protected:
    OutputStreamTest() {
        stream.setBufferBytes(4 * frames);
        test::load(vfoA, sine1000);
        test::load(vfoB, square441);
    }

    bool waitForWorkerEnd() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (stream.workerFailed())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    std::shared_ptr<AudioRecord> record = std::make_shared<AudioRecord>();
    synth::ToneChannel vfoA, vfoB;
    OutputStream stream{vfoA, vfoB, RecordingAudioDevice::factory(record)};
};

TEST_F(OutputStreamTest, KeepsTwoBuffersQueuedAndPlaysBothChannelsWithoutABreak) {
    record->autoPlay = true;
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() >= 8; }));
    stream.stopAndWait();

    EXPECT_EQ(record->framesPerBuffer, frames);
    EXPECT_EQ(record->maxQueued, 2);
    EXPECT_FALSE(stream.workerFailed());
    EXPECT_EQ(stream.buffersSubmitted(), static_cast<std::int64_t>(record->submits.size()));

    // open, then submit and wait in turn, then reset before close.
    const auto& events = record->events;
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events.front(), "open");
    EXPECT_EQ(events[events.size() - 2], "reset");
    EXPECT_EQ(events.back(), "close");
    for (std::size_t k = 1; k + 2 < events.size(); ++k)
        ASSERT_EQ(events[k], k % 2 == 1 ? "submit" : "wait") << "event " << k;

    const std::size_t n = record->submits.size();
    const auto expected =
        test::referenceBuffers(std::vector<Tone>(n, sine1000), std::vector<Tone>(n, square441), frames);
    for (std::size_t k = 0; k < n; ++k)
        EXPECT_EQ(record->submits[k], expected[k]) << "buffer " << k;

    EXPECT_EQ(vfoA.time, 0.0);
    EXPECT_EQ(vfoB.time, 0.0);
}

TEST_F(OutputStreamTest, FirstWaitReturnsAtOnceAndAChangeIsHeardFromTheNextBufferFilled) {
    stream.startWorker();
    // Nothing has been played: the second buffer was queued only because the first wait did not block.
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 2 && record->waiting == 1; }));

    const Tone quieter{WaveformKind::Sine, 5000, hertz(1000)};
    const Tone higher{WaveformKind::Square, 9000, hertz(2000)};
    vfoA.level = quieter.level;
    vfoB.frequencyWord = higher.frequencyWord;
    record->play();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 3 && record->waiting == 1; }));
    record->play();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 4 && record->waiting == 1; }));
    EXPECT_EQ(record->maxQueued, 2);

    // The device never plays again: only the wake gets the worker out of its wait.
    stream.stopAndWait();
    const auto expected = test::referenceBuffers({sine1000, sine1000, quieter, quieter},
                                                 {square441, square441, higher, higher}, frames);
    ASSERT_EQ(record->submits.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(record->submits[k], expected[k]) << "buffer " << k;
    EXPECT_EQ(vfoA.time, 0.0);
    EXPECT_EQ(vfoB.time, 0.0);
}

// The device's sample clock plays sample n at 1e12 ns + n / 44100 s; moves land on the sample of their
// instant, one whose sample was written already on the first one still unwritten (and is counted late), and
// the stored word is ignored from the first move until a drop, after which it plays again. A new stream
// starts without the moves the old one had waiting.
TEST_F(OutputStreamTest, VfoAMovesLandOnTheSamplePlayedAtTheirInstant) {
    const auto at = [](std::int64_t sample) { return 1'000'000'000'000 + sample * 1'000'000'000 / 44100; };
    record->sampleClock = true;
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 2 && record->waiting == 1; }));
    EXPECT_TRUE(stream.queueVfoAMove(hertz(1500), at(frames / 2), false));
    EXPECT_TRUE(stream.queueVfoAMove(hertz(1502), at(2 * frames + 100), true));
    EXPECT_TRUE(stream.queueVfoAMove(hertz(1498), at(3 * frames + 7), true));
    EXPECT_TRUE(stream.queueVfoAMove(hertz(1700), at(5 * frames), false));
    vfoA.frequencyWord = hertz(1200);
    for (std::size_t n = 3; n <= 6; ++n) {
        if (n == 5)
            stream.dropVfoAMoves();
        record->play();
        ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == n && record->waiting == 1; }));
    }
    EXPECT_EQ(stream.lateVfoAMoves(), 1);
    stream.queueVfoAMove(hertz(1700), at(2 * frames), false);
    stream.stopAndWait();
    record->autoPlay = true;
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() >= 10; }));
    stream.stopAndWait();
    EXPECT_EQ(stream.lateVfoAMoves(), 0);

    using Changes = std::vector<synth::FrequencyChange>;
    const std::vector<std::pair<std::int32_t, Changes>> buffers{
        {hertz(1000), {}},
        {hertz(1000), {}},
        {hertz(1200), {{0, hertz(1500), false}, {100, hertz(1502), true}}},
        {hertz(1502), {{7, hertz(1498), true}}},
        {hertz(1498), {{0, hertz(1200), false}}},
        {hertz(1200), {}}};
    double time = 0.0;
    synth::CountedPhase phase;
    std::vector<std::int16_t> block(frames + 1);
    for (std::size_t k = 0; k < record->submits.size(); ++k) {
        const auto& [word, changes] = k < buffers.size() ? buffers[k] : buffers.back();
        if (k == buffers.size())
            time = 0.0; // the second stream
        synth::FillChannel(block.data(), 1, 22000, word, frames, time, phase, changes.data(),
                           static_cast<int>(changes.size()));
        for (int i = 0; i < frames; ++i)
            ASSERT_EQ(record->submits[k][2 * static_cast<std::size_t>(i)], block[i])
                << "buffer " << k << " " << i;
    }
}

// While VFO A follows the keyer's retunes, the stored word catching up with them changes nothing, but the
// operator's own retune is heard from the next buffer, and the retunes queued before it are dropped.
TEST_F(OutputStreamTest, AnOperatorsRetuneBetweenTheKeyersRetunesIsHeardAtOnce) {
    const auto at = [](std::int64_t sample) { return 1'000'000'000'000 + sample * 1'000'000'000 / 44100; };
    record->sampleClock = true;
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 2 && record->waiting == 1; }));
    stream.queueVfoAMove(hertz(1500), at(2 * frames + 10), false);
    stream.queueVfoAMove(hertz(1600), at(4 * frames + 20), false);
    const std::int32_t stored[] = {hertz(1000), hertz(1500), hertz(1234), hertz(1234)};
    for (std::size_t n = 3; n <= 6; ++n) {
        vfoA.frequencyWord = stored[n - 3];
        record->play();
        ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == n && record->waiting == 1; }));
    }
    stream.stopAndWait();

    const std::vector<synth::FrequencyChange> retune{{10, hertz(1500), false}};
    double time = 0.0;
    synth::CountedPhase phase;
    std::vector<std::int16_t> block(frames + 1);
    for (std::size_t k = 0; k < 6; ++k) {
        const std::int32_t word = k < 3 ? hertz(1000) : k == 3 ? hertz(1500) : hertz(1234);
        synth::FillChannel(block.data(), 1, 22000, word, frames, time, phase, retune.data(), k == 2 ? 1 : 0);
        for (int i = 0; i < frames; ++i)
            ASSERT_EQ(record->submits[k][2 * static_cast<std::size_t>(i)], block[i])
                << "buffer " << k << " " << i;
    }
}

TEST_F(OutputStreamTest, StopBeforeTheFirstSubmitSubmitsNothing) {
    record->holdOpen = true;
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return !record->events.empty(); }));
    stream.requestStop();
    record->releaseOpen();
    stream.stopAndWait();

    EXPECT_EQ(record->events, (std::vector<std::string>{"open", "reset", "close"}));
    EXPECT_EQ(stream.buffersSubmitted(), 0);
    // Buffer 0 was filled, which moved the channels' time on; the end puts it back.
    EXPECT_EQ(vfoA.time, 0.0);
    EXPECT_EQ(vfoB.time, 0.0);
}

// Start costs one device: the one a probe found plays; one dropped after its probe is never opened.
TEST_F(OutputStreamTest, TheNextStartPlaysOnTheDeviceItsProbeFoundAndADroppedProbePlaysNothing) {
    record->autoPlay = true;
    ASSERT_TRUE(stream.probe());
    stream.dropProbed();
    ASSERT_TRUE(stream.probe());
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() >= 2; }));
    EXPECT_TRUE(stream.stopAndWait());
    EXPECT_EQ(record->devicesMade, 2);
    EXPECT_EQ(record->count("open"), 1);
    EXPECT_EQ(stream.latestWorker(), 1u);
    EXPECT_FALSE(stream.workerFailed());
}

TEST_F(OutputStreamTest, FailedOpenEndsTheWorkerSilentlyAndTheNextStartPlays) {
    record->probeFails = true;
    EXPECT_FALSE(stream.probe());
    record->probeFails = false;
    EXPECT_TRUE(stream.probe());

    record->failOpen = true;
    stream.startWorker();
    ASSERT_TRUE(waitForWorkerEnd());
    EXPECT_EQ(record->events, std::vector<std::string>{"open"});
    EXPECT_TRUE(record->submits.empty());

    {
        std::lock_guard lock(record->mutex);
        record->failOpen = false;
    }
    stream.requestStop();
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 2; }));
    EXPECT_FALSE(stream.workerFailed());
}

TEST_F(OutputStreamTest, BufferSizeBelowOneFrameEndsTheWorkerWithoutOpening) {
    for (const std::int32_t bytes : {0, 3, -16384}) {
        stream.setBufferBytes(bytes);
        stream.startWorker();
        ASSERT_TRUE(waitForWorkerEnd()) << bytes;
        stream.stopAndWait();
    }
    EXPECT_TRUE(record->events.empty());
}

TEST_F(OutputStreamTest, StartAfterStopWaitsForTheOldWorkerToRelease) {
    // A slow close widens the window in which an unwaited new worker would open the device as well.
    record->closeDelay = std::chrono::milliseconds(100);
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 2 && record->waiting == 1; }));

    stream.requestStop();
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 4 && record->waiting == 1; }));
    EXPECT_EQ(record->maxOpenAtOnce, 1);
    const std::vector<std::string> firstStreamEnd{"reset", "close", "open"};
    const auto& events = record->events;
    EXPECT_NE(std::search(events.begin(), events.end(), firstStreamEnd.begin(), firstStreamEnd.end()),
              events.end());

    // The new stream starts its tones at phase 0 again.
    const auto expected = test::referenceBuffers({sine1000, sine1000}, {square441, square441}, frames);
    EXPECT_EQ(record->submits[2], expected[0]);
    EXPECT_EQ(record->submits[3], expected[1]);
}

TEST_F(OutputStreamTest, AStalledWorkerIsLeftBehindAndWakingLaterTouchesNothingOfTheNewStream) {
    stream.setWaitLimit(std::chrono::milliseconds(50));
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() == 2 && record->waiting == 1; }));

    record->stall();
    EXPECT_FALSE(stream.stopAndWait());
    EXPECT_TRUE(OutputStream::anyLeftBehind());

    // The next stream plays at once; the old worker, woken meanwhile, touches neither channels nor report.
    {
        std::lock_guard lock(record->mutex);
        record->autoPlay = true;
    }
    stream.startWorker();
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() >= 6; }));
    record->resume();
    const auto closes = [&] { return std::count(record->events.begin(), record->events.end(), "close"); };
    std::size_t playedByThen = 0;
    ASSERT_TRUE(record->waitUntil([&] { return closes() == 1 && (playedByThen = record->submits.size()); }));
    ASSERT_TRUE(record->waitUntil([&] { return record->submits.size() >= playedByThen + 2; }));
    EXPECT_TRUE(stream.stopAndWait());
    EXPECT_FALSE(stream.workerFailed());
    const std::size_t n = record->submits.size() - 2;
    const auto expected =
        test::referenceBuffers(std::vector<Tone>(n, sine1000), std::vector<Tone>(n, square441), frames);
    for (std::size_t k = 0; k < n; ++k)
        ASSERT_EQ(record->submits[2 + k], expected[k]) << "buffer " << k;

    // A probe that gets no answer gives up as well.
    record->stall(true);
    EXPECT_FALSE(stream.probe());
    EXPECT_TRUE(stream.probeUnanswered());
    record->resume();
    EXPECT_TRUE(stream.probe());
}

TEST_F(OutputStreamTest, AFailingWorkerReportsBeforeLettingGoOfADeviceThatMayBlock) {
    std::atomic<std::uint64_t> reported{0};
    OutputStream reporting{vfoA, vfoB, RecordingAudioDevice::factory(record), [&](auto n) { reported = n; }};
    record->failAfterSubmits = 1;
    record->stall(true); // its drop and close block
    reporting.startWorker();
    for (int ms = 0; reported == 0 && ms < 10000; ++ms)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(reported, 1u);
    EXPECT_EQ(record->count("reset"), 0);
    record->resume();
    EXPECT_TRUE(reporting.stopAndWait());
}

} // namespace
} // namespace tarvel::audio
