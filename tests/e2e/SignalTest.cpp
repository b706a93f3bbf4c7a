// The program on the real serial port, ended in the middle of an element by SIGTERM (afterwards both lines
// are low, the stop record is written and the exit status is 0) or by a crash (both lines low all the
// same). Runs where /dev/ttyS0 is there.
#include "PortWatcher.h"
#include "mock/Files.h"
#include "ui/Program.h"

#include <QApplication>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tarvel::e2e::kPort;
using tarvel::e2e::PortWatcher;

// The program in a child process, in a folder of its own, sending a CW message (dashes of 300 ms) on the
// real port; ready() once an element is keyed: key and PTT both up.
class KeyedProgram {
public:
    KeyedProgram() : dir_(fs::current_path() / "signal-run") {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // The program finds its settings beside the executable that runs it: this test.
        std::ofstream(settings_, std::ios::binary)
            << "[Param]\r\nlog=1\r\nPort1=" << kPort << "\r\nTXT1=TTTTTTTTTT\r\n"
            << "AudioDevice=file:FILE=" << (dir_ / "out.raw").string()
            << ",FORMAT=raw\r\nAudioDeviceAnyPcm=1\r\n";
        pid_ = ::fork();
        if (pid_ == 0) {
            if (::chdir(dir_.c_str()) != 0)
                ::_exit(126);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            int argc = 1;
            char name[] = "tarvel";
            char* argv[] = {name, nullptr};
            QApplication app(argc, argv);
            ::_exit(tarvel::ui::runProgram([](tarvel::ui::Wiring& form) {
                form.mainWindow().QRSSDFCW2.click(); // opens the port
                form.mainWindow().PnTX1.click();
            }));
        }
    }
    ~KeyedProgram() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        fs::remove(settings_);
        fs::remove_all(dir_);
    }

    // The start record is written as the message begins; then an element must be keyed.
    bool keyed(const PortWatcher& watcher) const {
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (Clock::now() < deadline) {
            if (log().find("Start : ") != std::string::npos && watcher.lines() == (TIOCM_RTS | TIOCM_DTR))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    // Sends the signal and waits for the end; the wait status.
    int end(int signal) {
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ended_ = true;
        return status;
    }
    std::string log() const { return tarvel::mock::readFile(dir_ / "vfolog.txt"); }

private:
    fs::path dir_;
    fs::path settings_ = fs::read_symlink("/proc/self/exe").replace_extension(".ini");
    pid_t pid_ = -1;
    bool ended_ = false;
};

// Each test starts from a keyed element of the program, with the watcher on the port.
class Signal : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(kPort, F_OK) != 0)
            GTEST_SKIP() << kPort << " is absent";
        watcher.emplace();
        if (!watcher->usable())
            GTEST_SKIP() << "the modem lines of " << kPort << " cannot be set and read here";
        program.emplace();
        ASSERT_TRUE(program->keyed(*watcher)) << "no keyed element seen; log:\n" << program->log();
    }
    // Declared first, so it goes last: the watcher keeps the port open until the program has gone.
    std::optional<PortWatcher> watcher;
    std::optional<KeyedProgram> program;
};

TEST_F(Signal, TermInTheMiddleOfAnElementLeavesBothLinesLowAndWritesTheStopRecord) {
    const bool hangUpWhileRunning = watcher->hangUpOnClose();
    const int status = program->end(SIGTERM);

    EXPECT_EQ(watcher->lines(), 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_TRUE(hangUpWhileRunning) << "the program did not ask for hang-up on close";
    EXPECT_NE(program->log().find("\r\n Stop : "), std::string::npos) << program->log();
}

// A crash cannot end the transmission in order, and HUPCL does nothing while another process holds the
// port (here the watcher): the crash handler itself drops both lines.
TEST_F(Signal, ACrashInTheMiddleOfAnElementStillDropsBothLines) {
    const int status = program->end(SIGSEGV);

    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << "status " << status;
    EXPECT_EQ(watcher->lines(), 0);
}

} // namespace
