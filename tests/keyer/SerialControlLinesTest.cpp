#include "keyer/SerialControlLines.h"

#include "keyer/PortLockFile.h"
#include "keyer/TransmitterControl.h"
#include "platform/Failure.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
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
    const KeyLine rts = KeyLine::Rts;
    TransmitterControl control(other, rts);
    control.setPortNames("/dev/ttyNONEXISTENT", "/dev/ttyS1");
    try {
        control.openPort(ComPort::Com1);
        FAIL();
    } catch (const platform::Failure& f) {
        EXPECT_STREQ(f.what(), "Unable to open /dev/ttyNONEXISTENT");
    }
}

// Another process's lock file keeps the port, whether that process still runs or not (the library checks it
// before it opens the device, so none is needed); the refusal names the file and the process.
TEST(SerialControlLines, ALockFileOfAnotherProcessIsNamedWithItsProcess) {
    const std::string lockFile = portLockFilePath("/dev/ttyTARVELLOCKED");
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    for (const pid_t owner : {::getppid(), ended}) {
        // Held as the library holds its own, so it cannot be taken for stale and removed.
        const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_TRUE(fd >= 0 && ::flock(fd, LOCK_EX) == 0) << lockFile;
        ASSERT_GT(::dprintf(fd, "%10d\n", owner), 0);
        SerialControlLines lines;
        EXPECT_FALSE(lines.open("/dev/ttyTARVELLOCKED"));
        EXPECT_EQ(lines.refusal().lockedBy.find(owner == ended ? "the lock file /" : "the port is in use by"),
                  0u);
        EXPECT_NE(lines.refusal().lockedBy.find("/LCK..ttyTARVELLOCKED"), std::string::npos);
        EXPECT_NE(lines.refusal().lockedBy.find("process " + std::to_string(owner)), std::string::npos);
        ::unlink(lockFile.c_str());
        ::close(fd);
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
