// Every ending signal reaches the event loop; one that finds another still waiting ends through the crash
// hook.
#include "platform/TerminationSignals.h"

#include "EventLoopTest.h"
#include "platform/CrashHook.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tarvel::platform {
namespace {

using namespace std::chrono_literals;

class TerminationSignalsTest : public EventLoopTest {};

TEST_F(TerminationSignalsTest, EveryEndingSignalReachesTheEventLoopAndTheStoppingOnesAreIgnored) {
    std::vector<int> arrived, expected;
    {
        TerminationSignals termination({[&arrived](int signal) { arrived.push_back(signal); }, {}, {}});
        for (int signal : TerminationSignals::handledSignals()) {
            if (signal == SIGTSTP) // would stop this process
                continue;
            expected.push_back(signal);
            ::raise(signal); // one at a time: a second while one waits would end this process
            runUntil([&] { return arrived.size() == expected.size(); }, 5s);
        }
        for (int signal : {SIGPIPE, SIGTTIN, SIGTTOU})
            ::raise(signal);
        runFor(20ms);
    }
    EXPECT_EQ(arrived, expected);
    EXPECT_GE(expected.size(), 11u + 16u) << "the realtime signals are missing";
}

int hookReport = -1;

// A second signal while the first waits, and a first one that a hung event loop never takes: both end
// through the crash hook alone.
TEST(TerminationSignals, ASignalThatCannotBeTakenInOrderEndsAfterTheCrashHook) {
    for (const bool second : {true, false}) {
        SCOPED_TRACE(second ? "a second signal" : "a hung event loop");
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            hookReport = report[1];
            int argc = 1;
            char* argv[] = {const_cast<char*>("child"), nullptr};
            QCoreApplication app(argc, argv);
            installCrashHook([] { (void)!::write(hookReport, "E", 1); });
            TerminationSignals termination({[](int) { (void)!::write(hookReport, "T", 1); }, {}, {}}, 1);
            ::raise(SIGUSR1); // waits: the event loop does not run
            if (second)
                ::raise(SIGHUP);
            ::sleep(30);
            ::_exit(0);
        }
        ::close(report[1]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == (second ? SIGHUP : SIGALRM)) << status;
        char acts[4] = {};
        EXPECT_EQ(::read(report[0], acts, sizeof acts), 1);
        EXPECT_STREQ(acts, "E");
        ::close(report[0]);
    }
}

} // namespace
} // namespace tarvel::platform
