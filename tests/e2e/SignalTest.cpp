// The program on the real serial port, ended by SIGTERM in the middle of an element: afterwards both
// lines are low, the stop record is written and the exit status is 0. Runs where /dev/ttyS0 is there.
#include "mock/Files.h"
#include "ui/Program.h"

#include <QApplication>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr const char* kPort = "/dev/ttyS0";

// The test's own descriptor on the port, opened before the program's: the kernel raises both lines at
// every open, so the watcher clears them once and keeps the port open until the end.
class PortWatcher {
public:
    PortWatcher() : fd_(::open(kPort, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (fd_ < 0 || ::tcgetattr(fd_, &saved_) != 0)
            return;
        termios noHangUp = saved_;
        noHangUp.c_cflag &= ~static_cast<tcflag_t>(HUPCL); // as "stty -hupcl" leaves a port
        ::tcsetattr(fd_, TCSANOW, &noHangUp);
        int both = TIOCM_RTS | TIOCM_DTR;
        usable_ = ::ioctl(fd_, TIOCMBIC, &both) == 0 && lines() == 0;
    }
    ~PortWatcher() {
        if (fd_ < 0)
            return;
        ::tcsetattr(fd_, TCSANOW, &saved_);
        ::close(fd_);
    }
    bool usable() const { return usable_; }
    int lines() const {
        int bits = 0;
        return ::ioctl(fd_, TIOCMGET, &bits) == 0 ? bits & (TIOCM_RTS | TIOCM_DTR) : -1;
    }
    bool hangUpOnClose() const {
        termios now{};
        return ::tcgetattr(fd_, &now) == 0 && (now.c_cflag & HUPCL);
    }

private:
    int fd_;
    termios saved_{};
    bool usable_ = false;
};

TEST(Signal, TermInTheMiddleOfAnElementLeavesBothLinesLowAndWritesTheStopRecord) {
    if (::access(kPort, F_OK) != 0)
        GTEST_SKIP() << kPort << " is absent";
    PortWatcher watcher;
    if (!watcher.usable())
        GTEST_SKIP() << "the modem lines of " << kPort << " cannot be set and read here";

    const fs::path dir = fs::current_path() / "signal-run";
    fs::remove_all(dir);
    fs::create_directories(dir);
    // The program finds its settings beside the executable that runs it: this test.
    const fs::path settings = fs::read_symlink("/proc/self/exe").replace_extension(".ini");
    std::ofstream(settings, std::ios::binary)
        << "[Param]\r\nlog=1\r\nPort1=" << kPort << "\r\nTXT1=TTTTTTTTTT\r\n"
        << "AudioDevice=file:FILE=" << (dir / "out.raw").string() << ",FORMAT=raw\r\n";

    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::chdir(dir.c_str()) != 0)
            ::_exit(126);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int argc = 1;
        char name[] = "tarvel";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        ::_exit(tarvel::ui::runProgram([](tarvel::ui::TForm1& form) {
            form.main.QRSSDFCW2.click(); // opens the port
            form.main.PnTX1.click();     // CW: dashes of 300 ms
        }));
    }

    // The start record is written as the message begins; then wait for a dash: key and PTT both up.
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    bool keyed = false;
    while (!keyed && Clock::now() < deadline) {
        keyed = tarvel::mock::readFile(dir / "vfolog.txt").find("Start : ") != std::string::npos &&
                watcher.lines() == (TIOCM_RTS | TIOCM_DTR);
        if (!keyed)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const bool hangUpWhileRunning = watcher.hangUpOnClose();
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    fs::remove(settings);
    ASSERT_TRUE(keyed) << "no keyed element seen; log:\n" << tarvel::mock::readFile(dir / "vfolog.txt");

    EXPECT_EQ(watcher.lines(), 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_TRUE(hangUpWhileRunning) << "the program did not ask for hang-up on close";
    const std::string log = tarvel::mock::readFile(dir / "vfolog.txt");
    EXPECT_NE(log.find("\r\n Stop : "), std::string::npos) << log;
    fs::remove_all(dir);
}

} // namespace
