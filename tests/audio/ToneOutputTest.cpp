#include "audio/ToneOutput.h"

#include "mock/FixedToneSource.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingMessageSink.h"
#include "mock/VirtualTime.h"
#include "platform/Failure.h"
#include "platform/MessageSink.h"
#include "settings/Keys.h"
#include "station/SettingsWriter.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

using namespace tarvel;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct ToneRig {
    ToneRig() {
        std::filesystem::remove("tone.ini");
        station::writeChangesOf(ini, tone);
    }
    synth::ToneChannel vfoA, vfoB;
    std::shared_ptr<mock::AudioRecord> record = std::make_shared<mock::AudioRecord>();
    std::atomic<std::uint64_t> failedWorker{0};
    audio::OutputStream stream{vfoA, vfoB, mock::RecordingAudioDevice::factory(record),
                               [this](std::uint64_t worker) { failedWorker = worker; }};
    settings::IniFile ini{"tone.ini"};
    mock::FixedToneSource source{137600,
                                 25,
                                 {4096000, synth::WaveformKind::Sine, 22000},
                                 {2048000, synth::WaveformKind::Square, 20000}};
    audio::ToneOutput tone{stream, vfoA, vfoB, ini, source};
    mock::RecordingMessageSink sink;
    void act(const std::function<void()>& f) { platform::runGuarded(sink, f); }
};

} // namespace

TEST(ToneOutput, StartStoresVfoAThenLoadsChannelsAndStartsOneWorker) {
    ToneRig rig;
    rig.record->autoPlay = true;
    rig.act([&] { rig.tone.start(); });
    EXPECT_TRUE(rig.sink.messages.empty());
    EXPECT_TRUE(rig.tone.playing());
    EXPECT_EQ(slurp("tone.ini"), "[Param]\r\nfreq=137600\r\n01x=25\r\n");
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 4096000);
    EXPECT_EQ(rig.vfoA.waveform.load(), 1);
    EXPECT_EQ(rig.vfoA.level.load(), 22000);
    EXPECT_EQ(rig.vfoB.frequencyWord.load(), 2048000);
    EXPECT_EQ(rig.vfoB.waveform.load(), 2);
    EXPECT_EQ(rig.vfoB.level.load(), 20000);
    ASSERT_TRUE(rig.record->waitUntil([&] { return rig.record->submits.size() >= 2; }));

    // A second start while playing changes and writes nothing.
    std::filesystem::remove("tone.ini");
    rig.act([&] { rig.tone.start(); });
    EXPECT_FALSE(std::filesystem::exists("tone.ini"));

    rig.tone.stop();
    EXPECT_FALSE(rig.tone.playing());
    rig.stream.stopAndWait();
    EXPECT_EQ(rig.vfoA.time, 0.0);
    EXPECT_EQ(rig.record->count("open"), 1);
}

TEST(ToneOutput, FailedProbeShowsTheAudioErrorAndStartProbesAgain) {
    ToneRig rig;
    rig.record->probeFails = true;
    rig.act([&] { rig.tone.start(); });
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Ошибка аудиоустройства"});
    EXPECT_FALSE(rig.tone.playing());
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 0); // no channel touched
    EXPECT_EQ(slurp("tone.ini"), "[Param]\r\nfreq=137600\r\n01x=25\r\n");
    EXPECT_EQ(rig.record->count("open"), 0);

    rig.record->probeFails = false;
    rig.record->autoPlay = true;
    rig.act([&] { rig.tone.start(); });
    EXPECT_TRUE(rig.tone.playing());
    rig.tone.stop();
}

TEST(ToneOutput, ASoundServersDeviceOpenedAheadIsTakenByTheNextStartOfTheSameDeviceOnly) {
    ToneRig rig;
    rig.record->soundServer = true;
    rig.record->autoPlay = true;
    rig.tone.keepDeviceOpenAhead(true);
    ASSERT_TRUE(rig.record->waitUntil([&] { return rig.record->probes == 1; }));
    rig.act([&] { rig.tone.start(); });
    EXPECT_TRUE(rig.tone.playing());
    EXPECT_EQ(rig.record->devicesMade, 1); // no second connection
    rig.tone.stop();
    ASSERT_TRUE(rig.record->waitUntil([&] { return rig.record->probes == 2; }));
    EXPECT_EQ(rig.record->maxOpenAtOnce, 1);

    // Another device chosen since: the one held is not it.
    rig.ini.write(settings::keys::audioDevice, "pulse");
    rig.act([&] { rig.tone.start(); });
    EXPECT_TRUE(rig.sink.messages.empty());
    EXPECT_EQ(rig.record->devicesMade, 3);
    rig.tone.keepDeviceOpenAhead(false);
    rig.tone.stop();
    EXPECT_FALSE(rig.stream.heldAhead());
    EXPECT_EQ(rig.record->devicesMade, 3);
}

TEST(ToneOutput, ASoundCardIsNeverHeldOpenAheadNorIsAnyDeviceWithoutTheWindowsSwitch) {
    ToneRig rig;
    rig.record->autoPlay = true;
    rig.tone.keepDeviceOpenAhead(true);
    ASSERT_TRUE(rig.record->waitUntil(
        [&] { return std::count(rig.record->events.begin(), rig.record->events.end(), "close") == 1; }));
    rig.act([&] { rig.tone.start(); });
    EXPECT_TRUE(rig.record->waitUntil([&] { return rig.record->probes == 2; })); // opened again at the start
    rig.tone.keepDeviceOpenAhead(false);
    rig.tone.stop();
    rig.stream.stopAndWait();
    EXPECT_EQ(rig.record->devicesMade, 2);
    EXPECT_FALSE(rig.stream.heldAhead());
}

TEST(ToneOutput, FrequencyFaultEndsStartBeforeAnyWorker) {
    ToneRig rig;
    rig.source.failure = "Floating point division by zero";
    rig.act([&] { rig.tone.start(); });
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Floating point division by zero"});
    EXPECT_FALSE(rig.tone.playing());
    EXPECT_EQ(rig.vfoB.frequencyWord.load(), 2048000); // VFO B is loaded first
    EXPECT_EQ(rig.record->count("open"), 0);
    // Stop with no worker ever made only resets the state.
    rig.tone.stop();
    EXPECT_FALSE(rig.tone.playing());
}

TEST(ToneOutput, BufferSettingWrapsAsTypedIsStoredOnSaveAndCountsFromTheNextStart) {
    ToneRig rig;
    rig.tone.setBufferSetting(20);
    EXPECT_EQ(rig.stream.bufferBytes(), 20480);
    rig.tone.setBufferSetting(2097152); // wraps as 32-bit arithmetic, no overflow
    EXPECT_EQ(rig.stream.bufferBytes(), INT32_MIN);
    rig.tone.saveBufferSetting(16);
    EXPECT_EQ(rig.stream.bufferBytes(), 16384);
    EXPECT_NE(slurp("tone.ini").find("Buffer=16\r\n"), std::string::npos);

    rig.record->autoPlay = true;
    rig.tone.start();
    ASSERT_TRUE(rig.record->waitUntil([&] { return !rig.record->submits.empty(); }));
    EXPECT_EQ(rig.record->framesPerBuffer, 4096);
    rig.tone.setBufferSetting(64); // a running stream keeps its size
    rig.tone.stop();
    rig.stream.stopAndWait();
    EXPECT_EQ(rig.record->framesPerBuffer, 4096);
}

TEST(ToneOutput, ALostDeviceEndsWhatNeedsTheToneThenStopsThenIsRaisedOnceWithItsReason) {
    ToneRig rig;
    rig.record->autoPlay = true;
    rig.record->failAfterSubmits = 4;
    rig.tone.start();
    rig.tone.holdForTransmission();
    std::vector<std::string> order;
    rig.tone.onToneLost.connect([&] { order.push_back(rig.tone.playing() ? "lost while playing" : "lost"); });
    rig.tone.onStateChange.connect([&] { order.push_back(rig.tone.playing() ? "playing" : "stopped"); });
    // The worker reports on its own thread.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (rig.failedWorker == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_NE(rig.failedWorker, 0u);

    rig.act([&] { rig.tone.workerFailed(rig.failedWorker); });
    EXPECT_EQ(order, (std::vector<std::string>{"lost while playing", "stopped"}));
    EXPECT_EQ(rig.sink.messages,
              std::vector<std::string>{"Ошибка аудиоустройства: test device: No such device"});
    EXPECT_FALSE(rig.tone.heldForTransmission());
    // The same news again, or news of an earlier worker once the tone runs anew, is nothing to report.
    rig.act([&] { rig.tone.workerFailed(rig.failedWorker); });
    rig.record->failAfterSubmits = -1;
    rig.tone.start();
    rig.act([&] { rig.tone.workerFailed(rig.failedWorker); });
    EXPECT_EQ(rig.sink.messages.size(), 1u);
    EXPECT_TRUE(rig.tone.playing());
    rig.tone.stop();
}

TEST(ToneOutput, AStreamThatTakesNoBufferForThreePeriodsIsLostOnceAsAFailedWorkerIs) {
    ToneRig rig;
    mock::VirtualTime time;
    const auto watchdog = time.makeTimer();
    rig.tone.watchStream(*watchdog, rig.sink);
    rig.tone.setBufferSetting(16); // 4096 frames: a period of 93 ms
    rig.act([&] { rig.tone.start(); });
    std::vector<std::string> order;
    rig.tone.onToneLost.connect([&] { order.push_back(rig.tone.playing() ? "lost while playing" : "lost"); });
    rig.tone.onStateChange.connect([&] { order.push_back(rig.tone.playing() ? "playing" : "stopped"); });
    ASSERT_TRUE(
        rig.record->waitUntil([&] { return rig.record->submits.size() == 2 && rig.record->waiting == 1; }));

    // The device may take two seconds to start playing; then a buffer taken starts the count again.
    time.advance(2000);
    rig.record->play();
    ASSERT_TRUE(
        rig.record->waitUntil([&] { return rig.record->submits.size() == 3 && rig.record->waiting == 1; }));
    time.advance(2 * 93);
    // The device stalls inside a call: three periods without a buffer taken lose the tone.
    rig.record->stall();
    time.advance(93);
    EXPECT_TRUE(order.empty());
    time.advance(93);
    EXPECT_EQ(order, (std::vector<std::string>{"lost while playing", "stopped"}));
    EXPECT_EQ(rig.sink.messages,
              std::vector<std::string>{"Ошибка аудиоустройства: the sound device took no buffer for 279 ms "
                                       "(the sound server or device stalled)"});
    EXPECT_FALSE(watchdog->enabled());
    rig.record->resume();
    EXPECT_TRUE(rig.stream.stopAndWait());
}
