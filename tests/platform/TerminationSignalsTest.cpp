// The signals that would end or stop the program, as it takes them: each through the event loop, the
// ones it cannot take in order through the crash hook and their own default action.
#include "platform/TerminationSignals.h"

#include "EventLoopTest.h"
#include "platform/CrashHook.h"

#include <csignal>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tarvel::platform {
namespace {

using namespace std::chrono_literals;

class TerminationSignalsTest : public EventLoopTest {};

TEST_F(TerminationSignalsTest, EveryEndingSignalReachesTheEventLoopAndTheStoppingOnesAreIgnored) {
    std::vector<int> arrived;
    std::vector<int> expected;
    {
        TerminationSignals::Actions actions;
        actions.terminate = [&arrived](int signal) { arrived.push_back(signal); };
        TerminationSignals termination(std::move(actions));
        // One at a time: a second one while the first still waits would end this process.
        for (int signal : TerminationSignals::handledSignals()) {
            if (signal == SIGTSTP)
                continue;
            expected.push_back(signal);
            ::raise(signal);
            runUntil([&] { return arrived.size() == expected.size(); }, 5s);
        }
        for (int signal : {SIGPIPE, SIGTTIN, SIGTTOU})
            ::raise(signal);
        runFor(20ms);
    }
    EXPECT_EQ(arrived, expected);
    EXPECT_GE(expected.size(), 11u + 16u) << "the realtime signals are missing";
    struct sigaction after {};
    ::sigaction(SIGUSR1, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_DFL) << "not given back";
}

// A child process that takes the signals as the program does. Each act is reported as a letter: T the
// orderly end, S before a stop, R after the continue, E the crash hook's last act, P its act before a stop.
class SignalChild {
public:
    // inChild: runs in the child once the signals are taken, before its event loop.
    explicit SignalChild(const std::function<void()>& inChild = {}) {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            reportFd = fds[1];
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            int argc = 1;
            char name[] = "child";
            char* argv[] = {name, nullptr};
            QCoreApplication app(argc, argv);
            installCrashHook([] { report('E'); }, [] { report('P'); });
            TerminationSignals::Actions actions;
            actions.terminate = [](int) {
                report('T');
                QCoreApplication::exit(0);
            };
            actions.suspend = [] { report('S'); };
            actions.resume = [] { report('R'); };
            TerminationSignals termination(std::move(actions));
            report('.');
            if (inChild)
                inChild();
            ::_exit(QCoreApplication::exec());
        }
        ::close(fds[1]);
        readFd_ = fds[0];
        char ready = 0;
        if (::read(readFd_, &ready, 1) != 1)
            pid_ = -1;
    }
    ~SignalChild() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(readFd_);
    }

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // Sends the signal, waits until the child ends or stops; the wait status.
    int send(int signal) {
        ::kill(pid_, signal);
        return wait();
    }
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, WUNTRACED);
        ended_ = !WIFSTOPPED(status);
        return status;
    }
    // The acts reported since the last call (once the child has ended or stopped, all of them).
    std::string acts() {
        std::string letters;
        char letter = 0;
        while (readable(readFd_) && ::read(readFd_, &letter, 1) == 1)
            letters += letter;
        return letters;
    }

private:
    static bool readable(int fd) {
        pollfd one{fd, POLLIN, 0};
        return ::poll(&one, 1, 0) == 1 && (one.revents & POLLIN);
    }
    static void report(char letter) {
        if (::write(reportFd, &letter, 1) != 1) {
        }
    }
    static inline int reportFd = -1;
    pid_t pid_ = -1;
    int readFd_ = -1;
    bool ended_ = false;
};

bool killedBy(int status, int signal) {
    return WIFSIGNALED(status) && WTERMSIG(status) == signal;
}

TEST(TerminationSignals, EachSignalThatDumpsCoreRunsTheCrashHookAndThenEndsTheProcess) {
    for (int signal :
         {SIGQUIT, SIGXCPU, SIGXFSZ, SIGSYS, SIGTRAP, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        SCOPED_TRACE(::strsignal(signal));
        SignalChild child;
        ASSERT_TRUE(child.started());
        EXPECT_TRUE(killedBy(child.send(signal), signal));
        EXPECT_EQ(child.acts(), "E");
    }
}

TEST(TerminationSignals, ASecondSignalWhileTheFirstWaitsEndsAtOnceAfterTheCrashHook) {
    SignalChild child([] {
        ::raise(SIGUSR1); // waits in the pipe: the event loop has not run yet
        ::raise(SIGALRM);
    });
    ASSERT_TRUE(child.started());
    EXPECT_TRUE(killedBy(child.wait(), SIGALRM));
    EXPECT_EQ(child.acts(), "E");
}

TEST(TerminationSignals, CtrlZEndsTheTransmissionBeforeTheStopAndTheProgramCarriesOnWhenContinued) {
    SignalChild child;
    ASSERT_TRUE(child.started());
    EXPECT_TRUE(WIFSTOPPED(child.send(SIGTSTP)));
    EXPECT_EQ(child.acts(), "S");
    ::kill(child.pid(), SIGCONT);
    const int status = child.send(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(child.acts(), "RT");
}

TEST(TerminationSignals, CtrlZWhileASignalWaitsClearsTheLinesInHasteAndStopsAllTheSame) {
    SignalChild child([] {
        ::raise(SIGUSR2);
        ::raise(SIGTSTP);
    });
    ASSERT_TRUE(child.started());
    EXPECT_TRUE(WIFSTOPPED(child.wait()));
    EXPECT_EQ(child.acts(), "P");
    ::kill(child.pid(), SIGCONT);
    // Continued, the event loop takes the signal that waited.
    const int status = child.wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(child.acts(), "T");
}

} // namespace
} // namespace tarvel::platform
