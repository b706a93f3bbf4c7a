#include "platform/CrashHook.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>

namespace tarvel::platform {
namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

std::atomic<void (*)()> installedHook{nullptr};

void runHookOnce() {
    if (void (*hook)() = installedHook.exchange(nullptr))
        hook();
}

void onFatalSignal(int signal) {
    runHookOnce();
    // The handler was reset on entry: the signal now ends the process as it would have without us.
    ::raise(signal);
}

} // namespace

void installCrashHook(void (*hook)()) {
    if (!hook)
        return;
    installedHook = hook;
    struct sigaction action {};
    action.sa_handler = &onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (int signal : kFatalSignals)
        ::sigaction(signal, &action, nullptr);
    std::set_terminate([] {
        runHookOnce();
        std::abort();
    });
}

} // namespace tarvel::platform
