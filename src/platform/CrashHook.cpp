#include "platform/CrashHook.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <unistd.h>

namespace tarvel::platform {
namespace {

// Signals whose default action dumps core: nothing can be done in order any more.
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS,  SIGFPE,  SIGILL, SIGABRT,
                                 SIGQUIT, SIGXCPU, SIGXFSZ, SIGSYS, SIGTRAP};

std::atomic<void (*)()> endHook{nullptr};
std::atomic<void (*)()> stopHook{nullptr};

// The thread running the end hook; 0 before, -1 once it is done.
std::atomic<pid_t> endHookThread{0};

void runEndHookOnce() {
    const pid_t self = ::gettid();
    pid_t expected = 0;
    if (endHookThread.compare_exchange_strong(expected, self)) {
        if (void (*hook)() = endHook.load())
            hook();
        endHookThread = -1;
        return;
    }
    // Another thread is clearing the lines: ending the process now could cut that short. The hook's own
    // thread gets here only when the hook itself failed, and must not wait for itself.
    while (expected != -1 && expected != self)
        expected = endHookThread.load();
}

void onFatalSignal(int signal) {
    endAfterHook(signal);
}

} // namespace

void installCrashHook(void (*beforeEnd)(), void (*beforeStop)()) {
    if (!beforeEnd)
        return;
    endHook = beforeEnd;
    stopHook = beforeStop;
    struct sigaction action {};
    action.sa_handler = &onFatalSignal;
    sigfillset(&action.sa_mask);
    for (int signal : kFatalSignals)
        ::sigaction(signal, &action, nullptr);
    std::set_terminate([] {
        runEndHookOnce();
        std::abort();
    });
}

void endAfterHook(int signal) {
    runEndHookOnce();
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    // Only a signal whose default is to carry on gets here.
    ::_exit(128 + signal);
}

void stopAfterHook() {
    if (void (*hook)() = stopHook.load())
        hook();
    ::raise(SIGSTOP);
}

} // namespace tarvel::platform
