// The beacon's refusals of stored values it must not send on, over the core station.
#include "beacon/Station.h"

#include "beacon/Rehearsal.h"
#include "mock/StationRig.h"
#include "ui/ProgramRig.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tarvel::beacon {
namespace {

using mock::StationRig;

TEST(Station, RefusesStoredValuesTheWindowWouldChange) {
    for (const std::string text :
         {"[Param]\r\nfreq=600000\r\n", "[Param]\r\nTXT1=E\r\n", "[Param]\r\nfreq=136000\r\n01x=100\r\n",
          "[Param]\r\nfreq=136000\r\n01x=-5\r\n"}) {
        SCOPED_TRACE(text);
        test::WorkingDirectory dir;
        std::ofstream("tarvel.ini", std::ios::binary) << text;
        StationRig rig("tarvel.ini");
        EXPECT_NE(restore(rig.station).message.find("press \"Start\""), std::string::npos);
    }
}

TEST(Station, TheMessageMustHoldSomethingToSend) {
    test::WorkingDirectory dir;
    std::ofstream("tarvel.ini", std::ios::binary) << "[Param]\r\nfreq=136000\r\nTXT1=CQ TEST\r\nTXT2=  \r\n";
    StationRig rig("tarvel.ini");
    ASSERT_EQ(restore(rig.station).message, "");
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
