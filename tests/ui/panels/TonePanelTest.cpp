// The tone's buttons and buffer panel on a tone output over a recording device; the audio-device panel
// on a fixed list of PCMs.
#include "ui/panels/TonePanel.h"

#include "mock/FixedDeviceList.h"
#include "mock/FixedToneSource.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingMessageSink.h"
#include "platform/MessageSink.h"
#include "station/SettingsWriter.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/AudioDevicePanel.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace tarvel;

namespace {

struct PanelRig {
    PanelRig() {
        std::filesystem::remove("panel.ini");
        record->autoPlay = true;
        station::writeChangesOf(ini, tone);
    }
    ui::forms::MainForm form;
    synth::ToneChannel vfoA, vfoB;
    std::shared_ptr<mock::AudioRecord> record = std::make_shared<mock::AudioRecord>();
    audio::OutputStream stream{vfoA, vfoB, mock::RecordingAudioDevice::factory(record)};
    settings::IniFile ini{"panel.ini"};
    mock::FixedToneSource source{
        137600, 0, {1, synth::WaveformKind::Sine, 1}, {2, synth::WaveformKind::Sine, 1}};
    audio::ToneOutput tone{stream, vfoA, vfoB, ini, source};
    ui::panels::TonePanel panel{form, tone};
    mock::RecordingMessageSink sink;

    // Start enabled, Stop enabled.
    std::pair<bool, bool> buttons() const { return {form.btnPlay.enabled(), form.btnStop.enabled()}; }
};

using Buttons = std::pair<bool, bool>;

} // namespace

TEST(TonePanel, StartIsForAToneThatIsOffAndStopForOneThatNoTransmissionHolds) {
    PanelRig rig;
    rig.form.btnPlay.click();
    EXPECT_TRUE(rig.tone.playing());
    EXPECT_EQ(rig.buttons(), Buttons(false, true));
    // A transmission started while the tone played: Stop waits for its end.
    rig.tone.holdForTransmission();
    EXPECT_EQ(rig.buttons(), Buttons(false, false));
    rig.tone.releaseFromTransmission();
    EXPECT_EQ(rig.buttons(), Buttons(false, true));
    // A transmission's end that stops the tone ends its hold too: the next Start gives Stop back.
    rig.tone.holdForTransmission();
    rig.tone.stop();
    EXPECT_EQ(rig.buttons(), Buttons(true, false));
    rig.form.btnPlay.click();
    EXPECT_EQ(rig.buttons(), Buttons(false, true));
    rig.form.btnStop.click();
    EXPECT_FALSE(rig.tone.playing());
    EXPECT_EQ(rig.buttons(), Buttons(true, false));

    // A transmission that starts the tone itself leaves neither button to the operator.
    rig.tone.start();
    rig.tone.holdForTransmission();
    EXPECT_EQ(rig.buttons(), Buttons(false, false));
    rig.tone.stop();

    // A Start that fails leaves both buttons as they were.
    rig.record->probeFails = true;
    platform::runGuarded(rig.sink, [&] { rig.form.btnPlay.click(); });
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Ошибка аудиоустройства"});
    EXPECT_EQ(rig.buttons(), Buttons(true, false));
}

TEST(TonePanel, BufferPanelAppliesTypedAndClampedSizesAndOkStoresThem) {
    PanelRig rig;
    rig.form.Buffer1.click();
    EXPECT_TRUE(rig.form.PnBuffer.visible());
    rig.form.SpinEdit1.setText("20"); // used as typed
    EXPECT_EQ(rig.stream.bufferBytes(), 20480);
    rig.form.SpinEdit1.setText("100");
    rig.form.SpinEdit1.focusOut();
    EXPECT_EQ(rig.stream.bufferBytes(), 65536);
    rig.form.SpinEdit1.setText("16");
    rig.form.Button8.click();
    EXPECT_FALSE(rig.form.PnBuffer.visible());
    EXPECT_EQ(rig.stream.bufferBytes(), 16384);
    std::ifstream in("panel.ini", std::ios::binary);
    std::stringstream ini;
    ini << in.rdbuf();
    EXPECT_EQ(ini.str(), "[Param]\r\nBuffer=16\r\n");
}

TEST(AudioDevicePanel, OffersThePcmsPresentAndStoresOnlyAChangedChoice) {
    std::filesystem::remove("audio.ini");
    ui::forms::MainForm form;
    settings::IniFile ini{"audio.ini"};
    mock::FixedDeviceList pcms;
    pcms.devices = {{"default", ""}, {"null", "Discard all samples"}};
    audio::AudioDeviceChoice choice{pcms, ini};
    station::writeChangesOf(ini, choice);
    ui::panels::AudioDevicePanel panel{form, choice};
    using Entries = std::vector<std::string>;
    const auto shown = [&] {
        Entries entries;
        for (const auto& entry : form.EdAudio.entries())
            entries.push_back(entry.shown);
        return entries;
    };

    form.AudioDevice1.click();
    EXPECT_TRUE(form.PnAudio.visible());
    EXPECT_EQ(form.EdAudio.text(), "default");
    form.EdAudio.dropDown();
    EXPECT_EQ(shown(), (Entries{"default", "null \x97 Discard all samples"})); // an em dash in Windows-1251
    // "OK" on the PCM already in use leaves the file as it was.
    form.BtAudio.click();
    EXPECT_FALSE(form.PnAudio.visible());
    EXPECT_FALSE(std::filesystem::exists("audio.ini"));

    // A card plugged in meanwhile shows when the list opens; a picked PCM is stored by name only.
    form.AudioDevice1.click();
    pcms.devices.push_back({"plughw:CARD=Device,DEV=0", "USB Audio Device"});
    form.EdAudio.dropDown();
    ASSERT_EQ(form.EdAudio.entries().size(), 3u);
    form.EdAudio.pick(2);
    EXPECT_EQ(form.EdAudio.text(), "plughw:CARD=Device,DEV=0");
    form.BtAudio.click();
    EXPECT_EQ(ini.readText("AudioDevice", ""), "plughw:CARD=Device,DEV=0");

    // Unplugged, it is still shown as the one in use; a typed name is taken as it stands.
    pcms.devices.pop_back();
    form.AudioDevice1.click();
    EXPECT_EQ(form.EdAudio.text(), "plughw:CARD=Device,DEV=0");
    form.EdAudio.dropDown();
    EXPECT_EQ(shown().back(), "plughw:CARD=Device,DEV=0 \x97 not present now");
    // One that is not a plain PCM name is refused, and the panel stays open, unless the file allows it.
    form.EdAudio.setText("file:FILE=out.raw,FORMAT=raw");
    mock::RecordingMessageSink sink;
    platform::runGuarded(sink, [&] { form.BtAudio.click(); });
    EXPECT_NE(sink.messages.at(0).find("AudioDeviceAnyPcm=1"), std::string::npos);
    EXPECT_TRUE(form.PnAudio.visible());
    ini.writeInteger("AudioDeviceAnyPcm", 1);
    platform::runGuarded(sink, [&] { form.BtAudio.click(); });
    EXPECT_EQ(ini.readText("AudioDevice", ""), "file:FILE=out.raw,FORMAT=raw");
}
