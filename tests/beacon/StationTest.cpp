// The beacon's station and the window, each started from its own copy of one settings file, hold the same
// frequencies, waveforms, levels and keying: the same samples and the same edges.
#include "beacon/Station.h"

#include "beacon/Rehearsal.h"
#include "keyer/Presets.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingControlLines.h"
#include "mock/RecordingMessageSink.h"
#include "mock/VirtualTime.h"
#include "ui/ProgramRig.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tarvel::beacon {
namespace {

struct StationRig {
    explicit StationRig(const std::string& path)
        : station({lines,
                   *timer,
                   time,
                   sink,
                   [this](const std::string&) { return mock::RecordingAudioDevice::factory(record)(); },
                   {},
                   path}) {}

    mock::VirtualTime time;
    std::unique_ptr<mock::VirtualTimer> timer = time.makeTimer();
    mock::RecordingMessageSink sink;
    mock::RecordingControlLines lines;
    std::shared_ptr<mock::AudioRecord> record = std::make_shared<mock::AudioRecord>();
    Station station;
};

TEST(Station, StartsAsTheWindowDoesFromTheSameSettings) {
    const std::string files[] = {
        // Typical QRSS beacon: square wave on A, sine on B, factors and offsets, logging, QRSS3 end ID.
        "[Param]\r\nfreq=136050\r\n01x=37\r\nTA=2\r\nTB=1\r\nN=16\r\nNrx=32\r\nFp=455000\r\nFpA=-1200\r\n"
        "corr=1.00002\r\nfrrx=137500\r\nBuffer=32\r\nlog=1\r\nid=2\r\nIDEnd=DL0ABC\r\nIDStart=QRSS\r\n"
        "iCom=1\r\niRTS=1\r\nPort2=/dev/ttyUSB0\r\nDot=12\r\nDash=2\r\npause=3\r\nBpause=2\r\nshiftFr=40\r\n",
        // A stored range, VFO B and the buffer outside their fields' ranges, no custom values at all.
        "[Param]\r\nMinF=100000\r\nMaxF=700000\r\nfreq=600000\r\nfrrx=5\r\nBuffer=200\r\nids=1\r\nTA=7\r\n",
    };
    for (const std::string& text : files) {
        SCOPED_TRACE(text);
        test::ProgramRig window(text);
        const std::string copy = (window.dir.path() / "station.ini").string();
        std::ofstream(copy, std::ios::binary) << text;
        window.form->startUp();
        window.form->mainWindow().Btdfcw60i.click();

        StationRig rig(copy);
        ASSERT_EQ(rig.station.restore().message, "");
        rig.station.chooseMode(keyer::Presets::kNoRow);

        const freqplan::FrequencyPlan& a = window.form->plan();
        const freqplan::FrequencyPlan& b = rig.station.plan();
        EXPECT_EQ(b.vfoAWord(), a.vfoAWord());
        EXPECT_EQ(b.vfoBWord(), a.vfoBWord());
        EXPECT_EQ(b.tunedCoarseHz(), a.tunedCoarseHz());
        EXPECT_EQ(b.tunedFineCentiHz(), a.tunedFineCentiHz());
        EXPECT_EQ(b.vfoAWaveform(), a.vfoAWaveform());
        EXPECT_EQ(b.vfoBWaveform(), a.vfoBWaveform());
        EXPECT_EQ(b.vfoALevel(), a.vfoALevel());
        EXPECT_EQ(b.vfoBLevel(), a.vfoBLevel());
        EXPECT_EQ(rig.station.stream().bufferBytes(), window.form->stream().bufferBytes());
        EXPECT_EQ(rig.station.logbook().on(), window.form->logbook().on());
        EXPECT_EQ(rig.station.transmission().mode(), window.form->transmission().mode());
        const keyer::Identification& idA = window.form->transmission().identification();
        const keyer::Identification& idB = rig.station.transmission().identification();
        EXPECT_EQ(idB.startText, idA.startText);
        EXPECT_EQ(idB.endText, idA.endText);
        EXPECT_EQ(idB.speeds, idA.speeds);
        EXPECT_TRUE(rig.sink.messages.empty());
    }
}

TEST(Station, RefusesStoredValuesTheWindowWouldChange) {
    for (const std::string text :
         {"[Param]\r\nfreq=600000\r\n", "[Param]\r\nTXT1=E\r\n", "[Param]\r\nfreq=136000\r\n01x=100\r\n",
          "[Param]\r\nfreq=136000\r\n01x=-5\r\n"}) {
        SCOPED_TRACE(text);
        test::WorkingDirectory dir;
        std::ofstream("tarvel.ini", std::ios::binary) << text;
        StationRig rig("tarvel.ini");
        EXPECT_NE(rig.station.restore().message.find("press \"Start\""), std::string::npos);
    }
}

TEST(Station, TheMessageMustHoldSomethingToSend) {
    test::WorkingDirectory dir;
    std::ofstream("tarvel.ini", std::ios::binary) << "[Param]\r\nfreq=136000\r\nTXT1=CQ TEST\r\nTXT2=  \r\n";
    StationRig rig("tarvel.ini");
    ASSERT_EQ(rig.station.restore().message, "");
    Options options;
    EXPECT_EQ(chooseMessage(options, rig.station.messages()).text, "CQ TEST");
    options.message = 2;
    EXPECT_NE(chooseMessage(options, rig.station.messages()).error.find("stored message 2 is empty"),
              std::string::npos);
    // Typed text is sent as the upper-case fields would hold it; what has no Morse code is refused.
    options.text = "dl0abc \xD0\xB0"; // Cyrillic a
    EXPECT_EQ(chooseMessage(options, rig.station.messages()).text, "DL0ABC \xC0");
    options.text = "\xC3\xA9 ~";
    EXPECT_NE(chooseMessage(options, rig.station.messages()).error.find("can be sent in Morse"),
              std::string::npos);
}

} // namespace
} // namespace tarvel::beacon
