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
    TransmitterControl control(other, [] { return 0; });
    control.setPortNames("/dev/ttyNONEXISTENT", "/dev/ttyS1");
    try {
        control.openPort(0);
        FAIL();
    } catch (const platform::Failure& f) {
        EXPECT_STREQ(f.what(), "Unable to open /dev/ttyNONEXISTENT");
    }
}

// Another process's lock file keeps the port, whether that process still runs or not: the refusal names the
// file and the process. (The serial library checks the lock before it opens the device, so no device is
// needed.)
TEST(SerialControlLines, ALockFileOfAnotherProcessIsNamedWithItsProcess) {
    const std::string port = "/dev/ttyTARVELLOCKED";
    const std::string lockFile = portLockFilePath(port);
    if (lockFile.empty())
        GTEST_SKIP() << "no lock folder takes new files here";
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    for (const pid_t owner : {::getppid(), ended}) {
        // Held as the library holds its own, so it cannot be taken for stale and removed.
        const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0) << lockFile;
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        const std::string text = std::to_string(owner) + "\n";
        ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));

        SerialControlLines lines;
        EXPECT_FALSE(lines.open(port));
        const std::string why = lines.refusal().lockedBy;
        EXPECT_NE(why.find("/LCK..ttyTARVELLOCKED"), std::string::npos) << why;
        EXPECT_NE(why.find("process " + std::to_string(owner)), std::string::npos) << why;
        EXPECT_NE(why.find(owner == ended ? "no longer runs" : "in use"), std::string::npos) << why;
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
