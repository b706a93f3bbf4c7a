// The station's one load of the settings file, for both front ends: the values it yields, and the window and
// the beacon, each started from its own copy of one file, holding the same frequencies, waveforms, levels
// and keying: the same samples and the same edges.
#include "station/Station.h"

#include "beacon/Station.h"
#include "keyer/Presets.h"
#include "mock/StationRig.h"
#include "ui/ProgramRig.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tarvel::station {
namespace {

using mock::StationRig;

TEST(Station, LoadTakesDesignValuesForMissingKeysAndPullsValuesIntoTheControlsRanges) {
    struct Case {
        const char* file;
        std::function<void(const StoredSettings&)> check;
    };
    const Case cases[] = {
        {"[Param]\r\n",
         [](const StoredSettings& s) {
             EXPECT_EQ(s.factors.vfoAFactor, 16);
             EXPECT_EQ(s.factors.vfoBFactor, 32);
             EXPECT_EQ(s.factors.correction, 1.0);
             EXPECT_EQ(s.vfoBHz, 30000); // 0 stored, the field's minimum shown
             EXPECT_EQ(s.bufferKiB, 64);
             EXPECT_EQ(s.customMode, (keyer::CustomMode{1, 1, 1, 1, 0}));
             EXPECT_EQ(s.port1, "/dev/ttyS0");
             EXPECT_EQ(s.port2, "/dev/ttyS1");
             EXPECT_EQ(s.priority, 3);
             EXPECT_FALSE(s.logging);
         }},
        {"[Param]\r\nfrrx=99999999\r\nBuffer=200\r\nTA=7\r\nTB=-3\r\nDot=-4\r\nDash=99999\r\nlog=2\r\nVA="
         "1\r\n"
         "VB=3\r\nfreq3=137000\r\nTXT4=x\r\nid=2\r\n",
         [](const StoredSettings& s) {
             EXPECT_EQ(s.vfoBHz, 20000000);
             EXPECT_EQ(s.bufferKiB, 64);
             EXPECT_EQ(s.vfoAWaveform, synth::WaveformKind::Square);
             EXPECT_EQ(s.vfoBWaveform, synth::WaveformKind::None);
             EXPECT_EQ(s.customMode.dotSeconds, 1);
             EXPECT_EQ(s.customMode.dashFactor, 3);
             EXPECT_FALSE(s.logging); // only 1 is on
             EXPECT_TRUE(s.compactShowsVfoA);
             EXPECT_FALSE(s.compactShowsVfoB);
             EXPECT_EQ(s.memoryCoarseHz[2], 137000);
             EXPECT_EQ(s.messages[3], "x");
             EXPECT_EQ(s.endIdSpeed, 2);
         }},
        {"[Param]\r\nBuffer=0\r\nfreq=999999999\r\n01x=150\r\nMinF=5\r\nMaxF=1\r\n",
         [](const StoredSettings& s) {
             EXPECT_EQ(s.bufferKiB, 16);
             // VFO A and the range stay as stored: the front ends settle them by their own rules.
             EXPECT_EQ(s.vfoACoarseHz, 999999999);
             EXPECT_EQ(s.vfoAFineCentiHz, 150);
             EXPECT_EQ(s.rangeMinHz, 5);
             EXPECT_EQ(s.rangeMaxHz, 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        test::WorkingDirectory dir;
        std::ofstream("tarvel.ini", std::ios::binary) << c.file;
        StationRig rig("tarvel.ini");
        c.check(rig.station.load());
        // The core objects hold what was loaded.
        const StoredSettings& s = rig.station.stored();
        EXPECT_EQ(rig.station.stream().bufferBytes(), s.bufferKiB * 1024);
        EXPECT_EQ(rig.station.logbook().on(), s.logging);
        EXPECT_EQ(rig.station.presets().customMode(), s.customMode);
        EXPECT_EQ(rig.station.port().port1(), s.port1);
        EXPECT_EQ(rig.station.memories().coarse(3), s.memoryCoarseHz[2]);
        EXPECT_EQ(rig.station.messages().text(4), s.messages[3]);
    }
}

TEST(Station, WindowAndBeaconStartTheSameFromOneFile) {
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
        ASSERT_EQ(beacon::restore(rig.station).message, "");
        beacon::chooseMode(rig.station, keyer::Presets::kNoRow);

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

} // namespace
} // namespace tarvel::station
