#include "platform/LinuxProcessPriority.h"

#include <algorithm>
#include <atomic>
#include <dirent.h>
#include <mutex>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace tarvel::platform {
namespace {

// Linux keeps both the scheduling policy and the nice value per thread, so a setting for the process is
// made for each of its threads; threads started later inherit it from the thread that starts them.
std::mutex keptMutex;
std::vector<pid_t> keptThreads; // keepOwnSchedulingClass()

std::vector<pid_t> processThreads() {
    std::vector<pid_t> ids;
    const std::lock_guard lock(keptMutex);
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
                continue;
            const auto id = static_cast<pid_t>(std::stol(entry->d_name));
            if (std::find(keptThreads.begin(), keptThreads.end(), id) == keptThreads.end())
                ids.push_back(id);
        }
        closedir(dir);
    }
    if (ids.empty())
        ids.push_back(static_cast<pid_t>(syscall(SYS_gettid)));
    return ids;
}

// A user without the privilege may still hold an RLIMIT_RTPRIO allowance below the priority we ask for.
int allowedFifoPriority(int wanted) {
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur < static_cast<rlim_t>(wanted))
        return static_cast<int>(limit.rlim_cur);
    return wanted;
}

// Failures (EPERM, EACCES, a thread that ended meanwhile) are left unreported on purpose: a refused
// class simply stays as it was.
void setFifo(pid_t tid, int priority) {
    sched_param param{};
    param.sched_priority = priority;
    if (sched_setscheduler(tid, SCHED_FIFO, &param) == 0)
        return;
    param.sched_priority = allowedFifoPriority(priority);
    if (param.sched_priority >= 1 && param.sched_priority != priority)
        sched_setscheduler(tid, SCHED_FIFO, &param);
}

void setTimeSharing(pid_t tid, int nice) {
    if (sched_getscheduler(tid) != SCHED_OTHER) {
        sched_param param{};
        param.sched_priority = 0;
        sched_setscheduler(tid, SCHED_OTHER, &param);
    }
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
}

// The process's level as last applied, for threads started later (0: never applied).
std::atomic<int> processChoice{0};

} // namespace

void LinuxProcessPriority::apply(int choice) {
    if (choice == RealTime || choice == High || choice == Normal) {
        processChoice = choice;
        for (pid_t tid : processThreads()) {
            if (choice == RealTime)
                setFifo(tid, ProcessRealTimePriority);
            else
                setTimeSharing(tid, choice == High ? -10 : 0);
        }
    }
    // The user-interface thread runs the keyer's timer: raise it whatever the choice.
    sched_param param{};
    param.sched_priority = TimeCriticalPriority;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0)
        return;
    param.sched_priority = allowedFifoPriority(TimeCriticalPriority);
    if (param.sched_priority >= 1 && param.sched_priority != TimeCriticalPriority)
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

void keepOwnSchedulingClass() {
    const std::lock_guard lock(keptMutex);
    keptThreads.push_back(static_cast<pid_t>(syscall(SYS_gettid)));
}

void releaseOwnSchedulingClass() {
    const std::lock_guard lock(keptMutex);
    std::erase(keptThreads, static_cast<pid_t>(syscall(SYS_gettid)));
}

void leaveInheritedTimeCritical() {
    const pid_t self = static_cast<pid_t>(syscall(SYS_gettid));
    switch (processChoice.load()) {
    case LinuxProcessPriority::RealTime:
        setFifo(self, LinuxProcessPriority::ProcessRealTimePriority);
        break;
    case LinuxProcessPriority::High:
        setTimeSharing(self, -10);
        break;
    case LinuxProcessPriority::Normal:
        setTimeSharing(self, 0);
        break;
    default:
        break;
    }
}

} // namespace tarvel::platform
