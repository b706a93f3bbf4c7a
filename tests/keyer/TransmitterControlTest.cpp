#include "keyer/TransmitterControl.h"

#include "keyer/PortOpenFailure.h"
#include "mock/RecordingControlLines.h"
#include "mock/VirtualTime.h"
#include "platform/Failure.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <tuple>

namespace tarvel::keyer {
namespace {

using mock::RecordingControlLines;
using Line = RecordingControlLines::Line;
using Op = RecordingControlLines::Operation;

struct Rig {
    mock::VirtualTime time;
    RecordingControlLines lines{[this] { return time.nowMs(); }};
    KeyLine keyLineChoice = KeyLine::Rts;
    TransmitterControl control{lines, keyLineChoice};
};

std::string openFailureText(TransmitterControl& control, std::int32_t index) {
    try {
        control.openPort(ComPort{index});
    } catch (const platform::Failure& f) {
        return f.what();
    }
    return "no failure";
}

TEST(TransmitterControl, OpensOnceAndReportsAFailedPortOnce) {
    Rig rig;
    rig.lines.openSucceeds = false;
    EXPECT_EQ(openFailureText(rig.control, 1), "Unable to open /dev/ttyS1");
    EXPECT_TRUE(rig.control.portOpened());
    EXPECT_FALSE(rig.control.isOpen());
    rig.lines.openSucceeds = true;
    EXPECT_EQ(openFailureText(rig.control, 0), "no failure");
    EXPECT_EQ(rig.lines.openAttempts, std::vector<std::string>{"/dev/ttyS1"});

    // Every line operation after the failure is silent.
    rig.control.pttOn();
    rig.control.keyOn();
    rig.control.keyOff();
    rig.control.pttOff();
    EXPECT_TRUE(rig.lines.operations.empty());
}

// The window shows the lock file that kept the port after the usual words; the command line also gives the
// system's reason, and for a refused permission the way to get it.
TEST(TransmitterControl, AFailedOpenSaysWhyWhereThePortCanTell) {
    for (const auto& [refusal, window, commandLine] :
         {std::tuple{OpenRefusal{"in use by process 9", 0, ""}, ": in use by process 9",
                     ": in use by process 9"},
          std::tuple{OpenRefusal{"", EACCES, "Permission denied"}, "",
                     ": Permission denied (serial ports belong"}}) {
        Rig rig;
        rig.lines.openSucceeds = false;
        rig.lines.refusalGiven = refusal;
        try {
            rig.control.openPort(ComPort::Com1);
            ADD_FAILURE();
        } catch (const PortOpenFailure& f) {
            EXPECT_EQ(f.what(), "Unable to open /dev/ttyS0" + std::string(window));
            EXPECT_TRUE(
                f.withSystemReason().starts_with("Unable to open /dev/ttyS0" + std::string(commandLine)));
        }
    }
}

TEST(TransmitterControl, PortNamesFollowTheChoice) {
    Rig rig;
    rig.control.setPortNames("/dev/ttyUSB0", "/dev/ttyUSB1");
    EXPECT_EQ(rig.control.portName(ComPort{0}), "/dev/ttyUSB0");
    EXPECT_EQ(rig.control.portName(ComPort{1}), "/dev/ttyUSB1");
    EXPECT_EQ(rig.control.portName(ComPort{2}), "");
    EXPECT_EQ(rig.control.portName(ComPort{-1}), "");
    rig.control.openPort(ComPort::Com1);
    EXPECT_TRUE(rig.control.isOpen());
    EXPECT_EQ(rig.lines.openAttempts, std::vector<std::string>{"/dev/ttyUSB0"});

    // A choice without a port fails without troubling the device.
    Rig other;
    EXPECT_EQ(openFailureText(other.control, 2),
              "Unable to open port choice 2: there are only Com1 and Com2");
    EXPECT_TRUE(other.lines.openAttempts.empty());
    Rig unnamed;
    unnamed.control.setPortNames("", "/dev/ttyUSB1");
    EXPECT_EQ(openFailureText(unnamed.control, 0), "Unable to open Com1: no device is named for it");
    EXPECT_TRUE(unnamed.lines.openAttempts.empty());
}

TEST(TransmitterControl, NothingHappensBeforeThePortIsOpened) {
    Rig rig;
    rig.control.pttOn();
    rig.control.keyOn();
    EXPECT_TRUE(rig.lines.operations.empty());
    EXPECT_FALSE(rig.control.portOpened());
}

TEST(TransmitterControl, LineChoiceMapsKeyAndPttWithTimes) {
    Rig rig;
    rig.control.openPort(ComPort::Com1);
    rig.control.pttOn();
    rig.time.advance(1000);
    rig.control.keyOn();
    rig.time.advance(100);
    rig.control.keyOff();
    rig.control.pttOff();
    const std::vector<Op> rtsKeys = {
        {Line::Dtr, true, 0}, {Line::Rts, true, 1000}, {Line::Rts, false, 1100}, {Line::Dtr, false, 1100}};
    EXPECT_EQ(rig.lines.operations, rtsKeys);

    rig.lines.operations.clear();
    rig.keyLineChoice = KeyLine::Dtr;
    rig.control.pttOn();
    rig.control.keyOn();
    rig.control.keyOff();
    rig.control.pttOff();
    const std::vector<Op> dtrKeys = {
        {Line::Rts, true, 1100}, {Line::Dtr, true, 1100}, {Line::Dtr, false, 1100}, {Line::Rts, false, 1100}};
    EXPECT_EQ(rig.lines.operations, dtrKeys);
}

TEST(TransmitterControl, ChoiceChangedMidTransmissionAppliesFromTheNextOperation) {
    Rig rig;
    rig.control.openPort(ComPort::Com1);
    rig.control.pttOn(); // DTR as PTT
    rig.control.keyOn(); // RTS as key
    rig.keyLineChoice = KeyLine::Dtr;
    rig.control.keyOff(); // now DTR is the key: the old PTT drops, RTS stays set
    EXPECT_TRUE(rig.lines.rts);
    EXPECT_FALSE(rig.lines.dtr);
    rig.control.pttOff(); // RTS is the PTT now
    EXPECT_FALSE(rig.lines.rts);
    EXPECT_EQ(rig.lines.edges().size(), 4u);
}

} // namespace
} // namespace tarvel::keyer
