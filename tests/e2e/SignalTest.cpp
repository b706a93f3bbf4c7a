// The program on the real serial port, sent a signal in the middle of an element: afterwards both lines are
// low and the lock file is gone, whether it ends in order, as a crash, or stops (Ctrl+Z) and carries on;
// those that must not end it leave it keying. Runs where /dev/ttyS0 is there.
#include "PortWatcher.h"
#include "keyer/PortLockFile.h"
#include "mock/Files.h"
#include "ui/Program.h"

#include <QApplication>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
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
            const rlimit noCore{0, 0};
            if (::chdir(dir_.c_str()) != 0 || ::setrlimit(RLIMIT_CORE, &noCore) != 0)
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
    // Sends the signal and waits until the program ends or stops; the wait status.
    int send(int signal) {
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, WUNTRACED);
        ended_ = !WIFSTOPPED(status);
        return status;
    }
    // Neither ended nor stopped, as far as the wait can tell now.
    bool running() const {
        int status = 0;
        return ::waitpid(pid_, &status, WNOHANG | WUNTRACED) == 0;
    }
    pid_t pid() const { return pid_; }
    std::string log() const { return tarvel::mock::readFile(dir_ / "vfolog.txt"); }

private:
    fs::path dir_;
    fs::path settings_ = fs::read_symlink("/proc/self/exe").replace_extension(".ini");
    pid_t pid_ = -1;
    bool ended_ = false;
};

enum class Way { InOrder, AsACrash, Stops, Nothing };

struct SignalCase {
    int signal;
    Way way;
};

// One of each way (the event loop's own test sends every signal it takes); a fresh program for each.
TEST(Signals, InTheMiddleOfAnElementLeaveBothLinesLowAndThePortUnlocked) {
    if (::access(kPort, F_OK) != 0)
        GTEST_SKIP() << kPort << " is absent";
    const SignalCase cases[] = {
        {SIGTERM, Way::InOrder},  {SIGUSR1, Way::InOrder}, {SIGRTMIN, Way::InOrder}, {SIGQUIT, Way::AsACrash},
        {SIGSEGV, Way::AsACrash}, {SIGTSTP, Way::Stops},   {SIGPIPE, Way::Nothing},
    };
    const std::string lockFile = tarvel::keyer::portLockFilePath(kPort);
    for (const SignalCase& c : cases) {
        SCOPED_TRACE(::strsignal(c.signal));
        PortWatcher watcher;
        if (!watcher.usable())
            GTEST_SKIP() << "the modem lines of " << kPort << " cannot be set and read here";
        KeyedProgram program;
        ASSERT_TRUE(program.keyed(watcher)) << "no keyed element seen; log:\n" << program.log();
        EXPECT_EQ(tarvel::keyer::lockFileOwner(lockFile.c_str()), program.pid()) << lockFile;
        const bool hangUpWhileRunning = watcher.hangUpOnClose();

        if (c.way == Way::Nothing) {
            ::kill(program.pid(), SIGTTIN);
            ::kill(program.pid(), SIGTTOU);
            ::kill(program.pid(), c.signal);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            EXPECT_TRUE(program.running());
            EXPECT_EQ(program.log().find("\r\n Stop : "), std::string::npos) << program.log();
        }
        int status = program.send(c.way == Way::Nothing ? SIGTERM : c.signal);
        EXPECT_EQ(watcher.lines(), 0);
        switch (c.way) {
        case Way::InOrder:
        case Way::Nothing:
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
            EXPECT_NE(program.log().find("\r\n Stop : "), std::string::npos) << program.log();
            EXPECT_TRUE(hangUpWhileRunning) << "the program did not ask for hang-up on close";
            break;
        case Way::AsACrash:
            // HUPCL does nothing while another process holds the port (here the watcher): the hook did it.
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << "status " << status;
            break;
        case Way::Stops:
            EXPECT_TRUE(WIFSTOPPED(status)) << "status " << status;
            EXPECT_NE(program.log().find("\r\n Stop : "), std::string::npos) << program.log();
            ::kill(program.pid(), SIGCONT);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            EXPECT_TRUE(program.running());
            status = program.send(SIGTERM);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
            break;
        }
        EXPECT_NE(tarvel::keyer::lockFileOwner(lockFile.c_str()), program.pid()) << lockFile;
    }
}

} // namespace
