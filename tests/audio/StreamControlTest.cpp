#include "audio/StreamControl.h"

#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingMessageSink.h"
#include "platform/Failure.h"
#include "platform/MessageSink.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace tarvel;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct StreamRig {
    StreamRig() { std::filesystem::remove("stream.ini"); }
    controls::Button btnPlay{"btnPlay", "Start"}, btnStop{"btnStop", "Stop"};
    controls::Panel PnBuffer{"PnBuffer", "Buffer Size"};
    controls::SpinField SpinEdit1{"SpinEdit1", 16, 64, 16, 64};
    controls::RadioGroup rgR{"rgR", "", {"Off", "Sine", "Squre"}, 1};
    controls::ScrollBar LevRScrollBar1{"LevRScrollBar1", 0, 32000, 22000, 500, 2000};
    controls::RadioGroup rgL{"rgL", "", {"Off", "Sine", "Squre"}, 2};
    controls::SpinField seLLev{"seLLev", 0, 32767, 200, 20000};
    synth::ToneChannel vfoA, vfoB;
    std::shared_ptr<mock::AudioRecord> record = std::make_shared<mock::AudioRecord>();
    audio::OutputStream stream{vfoA, vfoB, mock::RecordingAudioDevice::factory(record)};
    settings::IniFile ini{"stream.ini"};
    std::int32_t divisor = 16;
    audio::StreamControl control{{btnPlay, btnStop, PnBuffer, SpinEdit1, rgR, LevRScrollBar1, rgL, seLLev},
                                 stream,
                                 vfoA,
                                 vfoB,
                                 ini,
                                 {[] { return 137600; }, [] { return 25; },
                                  [this]() -> std::int64_t {
                                      if (divisor == 0)
                                          throw platform::Failure("Floating point division by zero");
                                      return 4096000;
                                  },
                                  [] { return std::int64_t{2048000}; }}};
    mock::RecordingMessageSink sink;
    void act(const std::function<void()>& f) { platform::runGuarded(sink, f); }
};

} // namespace

TEST(StreamControl, StartStoresVfoAThenLoadsChannelsAndStartsOneWorker) {
    StreamRig rig;
    rig.record->autoPlay = true;
    rig.btnStop.setEnabled(false);
    rig.act([&] { rig.btnPlay.click(); });
    EXPECT_TRUE(rig.sink.messages.empty());
    EXPECT_TRUE(rig.control.playing());
    EXPECT_FALSE(rig.btnPlay.enabled());
    EXPECT_TRUE(rig.btnStop.enabled());
    EXPECT_EQ(slurp("stream.ini"), "[Param]\r\nfreq=137600\r\n01x=25\r\n");
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 4096000);
    EXPECT_EQ(rig.vfoA.waveform.load(), 1);
    EXPECT_EQ(rig.vfoA.level.load(), 22000);
    EXPECT_EQ(rig.vfoB.frequencyWord.load(), 2048000);
    EXPECT_EQ(rig.vfoB.waveform.load(), 2);
    EXPECT_EQ(rig.vfoB.level.load(), 20000);
    ASSERT_TRUE(rig.record->waitUntil([&] { return rig.record->submits.size() >= 2; }));

    // A second Start while playing changes and writes nothing.
    std::filesystem::remove("stream.ini");
    rig.act([&] { rig.control.btnPlayClick(); });
    EXPECT_FALSE(std::filesystem::exists("stream.ini"));

    rig.btnStop.click();
    EXPECT_FALSE(rig.control.playing());
    EXPECT_TRUE(rig.btnPlay.enabled());
    EXPECT_FALSE(rig.btnStop.enabled());
    rig.stream.stopAndWait();
    EXPECT_EQ(rig.vfoA.time, 0.0);
    EXPECT_EQ(rig.record->count("open"), 1);
}

TEST(StreamControl, FailedProbeShowsTheAudioErrorAndStartProbesAgain) {
    StreamRig rig;
    rig.record->probeFails = true;
    rig.act([&] { rig.btnPlay.click(); });
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Ошибка аудиоустройства"});
    EXPECT_FALSE(rig.control.playing());
    EXPECT_EQ(rig.vfoA.frequencyWord.load(), 0); // no channel touched
    EXPECT_EQ(slurp("stream.ini"), "[Param]\r\nfreq=137600\r\n01x=25\r\n");
    EXPECT_EQ(rig.record->count("open"), 0);

    rig.record->probeFails = false;
    rig.record->autoPlay = true;
    rig.act([&] { rig.btnPlay.click(); });
    EXPECT_TRUE(rig.control.playing());
    rig.btnStop.click();
}

TEST(StreamControl, FrequencyFaultEndsStartBeforeAnyWorker) {
    StreamRig rig;
    rig.divisor = 0;
    rig.act([&] { rig.btnPlay.click(); });
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Floating point division by zero"});
    EXPECT_FALSE(rig.control.playing());
    EXPECT_TRUE(rig.btnPlay.enabled());
    EXPECT_EQ(rig.record->count("open"), 0);
    // Stop with no worker ever made only resets the buttons and the flag.
    rig.btnStop.click();
    EXPECT_FALSE(rig.control.playing());
}

TEST(StreamControl, BufferPanelAppliesTypedAndClampedSizesFromTheNextStart) {
    StreamRig rig;
    rig.control.Buffer1Click();
    EXPECT_TRUE(rig.PnBuffer.visible());
    rig.SpinEdit1.setText("20"); // used as typed
    EXPECT_EQ(rig.stream.bufferBytes(), 20480);
    rig.SpinEdit1.setText("2097152"); // wraps as 32-bit arithmetic, no overflow
    EXPECT_EQ(rig.stream.bufferBytes(), INT32_MIN);
    rig.SpinEdit1.setText("100");
    rig.SpinEdit1.focusOut();
    EXPECT_EQ(rig.stream.bufferBytes(), 65536);
    rig.SpinEdit1.setText("16");
    rig.control.Button8Click();
    EXPECT_FALSE(rig.PnBuffer.visible());
    EXPECT_NE(slurp("stream.ini").find("Buffer=16\r\n"), std::string::npos);

    rig.record->autoPlay = true;
    rig.btnPlay.click();
    ASSERT_TRUE(rig.record->waitUntil([&] { return !rig.record->submits.empty(); }));
    EXPECT_EQ(rig.record->framesPerBuffer, 4096);
    rig.SpinEdit1.setText("64"); // a running stream keeps its size
    rig.btnStop.click();
    rig.stream.stopAndWait();
    EXPECT_EQ(rig.record->framesPerBuffer, 4096);
}
