#include "platform/LinuxProcessPriority.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarvel::platform {
namespace {

pid_t threadId() {
    return static_cast<pid_t>(syscall(SYS_gettid));
}

struct SchedState {
    int policy;
    int priority;
    int nice;
    bool operator==(const SchedState&) const = default;
};

std::ostream& operator<<(std::ostream& os, const SchedState& s) {
    return os << "{policy " << s.policy << ", priority " << s.priority << ", nice " << s.nice << "}";
}

SchedState stateOf(pid_t tid) {
    sched_param param{};
    sched_getparam(tid, &param);
    return {sched_getscheduler(tid), param.sched_priority, getpriority(PRIO_PROCESS, static_cast<id_t>(tid))};
}

const SchedState timeSharing{SCHED_OTHER, 0, 0};

// Whether this process may use SCHED_FIFO and negative nice values, tried on a scratch thread.
std::pair<bool, bool> privileges() {
    bool fifo = false, nice = false;
    std::thread([&] {
        sched_param param{};
        param.sched_priority = 1;
        fifo = sched_setscheduler(0, SCHED_FIFO, &param) == 0;
        nice = setpriority(PRIO_PROCESS, 0, -1) == 0;
    }).join();
    return {fifo, nice};
}

// The user-interface thread is a second thread here, so the test's main thread shows what happens to
// the rest of the process.
TEST(LinuxProcessPriority, SetsTheClassOfEveryThreadAndRaisesTheCallingOne) {
    ASSERT_EQ(stateOf(threadId()), timeSharing);
    const std::pair<bool, bool> may = privileges();
    const bool mayFifo = may.first, mayNice = may.second;
    const pid_t mainThread = threadId();
    const SchedState raised =
        mayFifo ? SchedState{SCHED_FIFO, LinuxProcessPriority::TimeCriticalPriority, 0} : timeSharing;
    std::thread ui([&] {
        LinuxProcessPriority priority;
        const pid_t self = threadId();

        priority.apply(ProcessPriority::RealTime);
        const SchedState realTime =
            mayFifo ? SchedState{SCHED_FIFO, LinuxProcessPriority::ProcessRealTimePriority, 0} : timeSharing;
        EXPECT_EQ(stateOf(mainThread), realTime);
        EXPECT_EQ(stateOf(self), raised);

        priority.apply(ProcessPriority::High);
        const SchedState high{SCHED_OTHER, 0, mayNice ? -10 : 0};
        EXPECT_EQ(stateOf(mainThread), high);
        EXPECT_EQ(stateOf(self).policy, raised.policy);

        priority.apply(0); // not a choice: the process stays as it is, the thread is still raised
        priority.apply(4);
        EXPECT_EQ(stateOf(mainThread), high);
        EXPECT_EQ(stateOf(self).policy, raised.policy);

        priority.apply(ProcessPriority::Normal);
        EXPECT_EQ(stateOf(mainThread), timeSharing);
        EXPECT_EQ(stateOf(self), raised);

        sched_param param{};
        sched_setscheduler(0, SCHED_OTHER, &param);
    });
    ui.join();
    EXPECT_EQ(stateOf(mainThread), timeSharing);
}

// Without the privilege every request is refused, silently, and nothing changes.
TEST(LinuxProcessPriority, RefusalsChangeNothingAndAreNotFatal) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to drop to an unprivileged user";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit none{0, 0};
        if (setrlimit(RLIMIT_RTPRIO, &none) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        LinuxProcessPriority priority;
        for (int choice : {1, 2, 3, 1, 2})
            priority.apply(choice);
        sched_param param{};
        sched_getparam(0, &param);
        const bool unchanged = sched_getscheduler(0) == SCHED_OTHER && getpriority(PRIO_PROCESS, 0) == 0;
        _exit(unchanged ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
} // namespace tarvel::platform
