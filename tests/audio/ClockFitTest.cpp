#include "audio/ClockFit.h"

#include "audio/OutputStream.h"
#include "mock/RecordingAudioDevice.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace tarvel::audio {
namespace {

TEST(ClockFitTest, FindsACardRunningFastThroughTheWorkerDespiteJitterAndAnUnderrun) {
    auto record = std::make_shared<mock::AudioRecord>();
    record->autoPlay = true;
    record->sampleClock = true;
    record->clockPpm = 37.5;
    record->jitterNs = 100'000;
    record->underrunAtWait = 400;
    record->underrunGapNs = 250'000'000;
    synth::ToneChannel vfoA, vfoB;
    OutputStream stream(vfoA, vfoB, mock::RecordingAudioDevice::factory(record));
    stream.setBufferBytes(16384);
    ClockFit fit;
    stream.startWorker();
    while (record->submitCount() < 1500 && !stream.workerFailed()) {
        stream.takeClockPairs([&](const ClockPair& pair) { fit.add(pair); });
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    stream.stopAndWait();
    stream.takeClockPairs([&](const ClockPair& pair) { fit.add(pair); });

    const ClockEstimate e = fit.estimate();
    ASSERT_TRUE(e.valid);
    EXPECT_EQ(e.segments, 2); // the underrun began a second one
    EXPECT_LT(e.uncertaintyPpm, 0.5);
    EXPECT_NEAR(e.offsetPpm, 37.5, e.uncertaintyPpm);
    EXPECT_NEAR(ClockFit::correctedFactor(1.0, e.offsetPpm), 1.0 / (1.0 + e.offsetPpm * 1e-6), 1e-15);
}

// A sound server: its reported delay wanders by milliseconds on time scales of a minute, a hiccup puts two
// reports far off the line, and its count may reset. A plain fit's standard error would claim far too much;
// the stretches' scatter must not.
TEST(ClockFitTest, ASoundServersWanderingDelayWidensTheUncertaintyEnoughToHoldTheTruth) {
    int held = 0;
    constexpr int runs = 40;
    for (int seed = 1; seed <= runs; ++seed) {
        std::mt19937_64 random(static_cast<std::uint64_t>(seed));
        std::normal_distribution<double> step(0.0, 0.15e-3), noise(0.0, 0.2e-3);
        const double ppm = -12.0;
        ClockFit fit;
        double wander = 0;
        for (int i = 0; i < 600 * 10; ++i) {
            const double t = i * 0.1;
            wander = 0.995 * wander + step(random); // seconds of delay, a few ms
            const std::int64_t frames =
                i < 3000 ? static_cast<std::int64_t>(t * 44100.0 * (1 + ppm * 1e-6))
                         : static_cast<std::int64_t>((t - 300) * 44100.0 * (1 + ppm * 1e-6));
            const double stray = i == 1234 || i == 1235 ? -0.093 : 0.0; // two reports of a hiccup
            const double stamp = t + wander + noise(random) + stray;
            fit.add({frames, static_cast<std::int64_t>((1000.0 + stamp) * 1e9), 1, 0});
        }
        const ClockEstimate e = fit.estimate();
        ASSERT_TRUE(e.valid);
        ASSERT_EQ(e.segments, 2); // the count that went back to 0
        ASSERT_GT(e.spreadErrorPpm, e.fitErrorPpm);
        held += std::abs(e.offsetPpm - ppm) <= e.uncertaintyPpm;
    }
    EXPECT_GE(held, runs * 85 / 100);
}

// A sound server's reported position settles over a stream's first seconds: through one they are left out.
TEST(ClockFitTest, ASoundServersFirstSecondsAreLeftOut) {
    ClockFit server, plain;
    server.setSoundServer();
    for (int i = 0; i <= 1200; ++i) {
        const double t = i * 0.1;
        const double settling = t < 10 ? 0.002 * (1 - t / 10) : 0.0;
        const ClockPair pair{static_cast<std::int64_t>(t * 44100),
                             static_cast<std::int64_t>((100 + t + settling) * 1e9), 1, 0};
        server.add(pair);
        plain.add(pair);
    }
    EXPECT_NEAR(server.estimate().offsetPpm, 0.0, 0.01);
    EXPECT_NEAR(server.estimate().seconds, 110.0, 0.2);
    EXPECT_GT(std::abs(plain.estimate().offsetPpm), 1.0);
}

TEST(ClockFitTest, TellsHardwareFromASoundServer) {
    EXPECT_TRUE(measuredDeviceKind("hw:0,0").starts_with("hardware"));
    EXPECT_TRUE(measuredDeviceKind("plughw:1").starts_with("hardware"));
    EXPECT_TRUE(measuredDeviceKind("default").starts_with("sound server"));
    EXPECT_TRUE(measuredDeviceKind("pulse").starts_with("sound server"));
}

} // namespace
} // namespace tarvel::audio
