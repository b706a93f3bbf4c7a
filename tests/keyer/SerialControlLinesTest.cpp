#include "keyer/SerialControlLines.h"

#include "keyer/TransmitterControl.h"
#include "platform/Failure.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tarvel::keyer {
namespace {

TEST(SerialControlLines, MissingPortFailsAndLinesStayQuiet) {
    SerialControlLines lines;
    EXPECT_FALSE(lines.open("/dev/ttyNONEXISTENT"));
    lines.setRts(true); // must not throw or crash on a closed port
    lines.setDtr(true);
    EXPECT_FALSE(lines.open(""));

    SerialControlLines other;
    TransmitterControl control(other, [] { return 0; });
    control.setPortNames("/dev/ttyNONEXISTENT", "/dev/ttyS1");
    try {
        control.openPort(0);
        FAIL();
    } catch (const platform::Failure& f) {
        EXPECT_STREQ(f.what(), "Unable to open /dev/ttyNONEXISTENT");
    }
}

// Any second descriptor on the port would raise both lines again, so the adapter reads them back itself.
TEST(SerialControlLines, RealPortStartsClearedAndFollowsTheCalls) {
    const char* path = "/dev/ttyS0";
    if (::access(path, F_OK) != 0)
        GTEST_SKIP() << path << " is absent";
    SerialControlLines lines;
    if (!lines.open(path))
        GTEST_SKIP() << path << " cannot be opened here";
    const auto levels = [&] {
        const auto l = lines.readBack();
        return l ? std::pair{l->rts, l->dtr} : std::pair{true, true};
    };
    if (!lines.readBack())
        GTEST_SKIP() << "the modem lines of " << path << " cannot be read back";
    EXPECT_EQ(levels(), std::pair(false, false));
    lines.setRts(true);
    EXPECT_EQ(levels(), std::pair(true, false));
    lines.setDtr(true);
    EXPECT_EQ(levels(), std::pair(true, true));
    lines.setRts(false);
    EXPECT_EQ(levels(), std::pair(false, true));
    lines.setDtr(false);
    EXPECT_EQ(levels(), std::pair(false, false));
}

} // namespace
} // namespace tarvel::keyer
