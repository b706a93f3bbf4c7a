#include "platform/TerminationSignals.h"

#include "platform/CrashHook.h"

#include <QSocketNotifier>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tarvel::platform {
namespace {

// Every signal whose default action ends the process without a core dump, besides the realtime ones; the
// core-dumping ones belong to the crash hook.
constexpr int kTerminating[] = {SIGHUP,    SIGINT,  SIGTERM, SIGUSR1, SIGUSR2,  SIGALRM,
                                SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSTKFLT};
constexpr int kIgnored[] = {SIGPIPE, SIGTTIN, SIGTTOU};

// Written by the handler; only async-signal-safe calls may touch it there.
volatile sig_atomic_t writeFd = -1;
// A signal is in the pipe that the event loop has not taken yet.
std::atomic<bool> signalWaiting{false};
volatile sig_atomic_t deadline = 10;
static_assert(std::atomic<bool>::is_always_lock_free);

void forwardSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    const bool inOrder = writeFd >= 0 && !signalWaiting.exchange(true) && ::write(writeFd, &number, 1) == 1;
    if (inOrder) {
        // A loop that does not take it in time is hung: SIGALRM then finds this one waiting.
        ::alarm(static_cast<unsigned>(deadline));
    } else {
        if (signal == SIGTSTP)
            stopAfterHook();
        else
            endAfterHook(signal);
    }
    errno = savedErrno;
}

} // namespace

std::vector<int> TerminationSignals::handledSignals() {
    std::vector<int> numbers(std::begin(kTerminating), std::end(kTerminating));
    numbers.push_back(SIGTSTP);
    for (int realtime = SIGRTMIN; realtime <= SIGRTMAX; ++realtime)
        numbers.push_back(realtime);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

TerminationSignals::TerminationSignals(Actions actions, unsigned deadlineSeconds)
    : actions_(std::move(actions)) {
    deadline = static_cast<sig_atomic_t>(std::max(deadlineSeconds, 1u));
    const auto install = [this](int signal, const struct sigaction& action) {
        struct sigaction before {};
        if (::sigaction(signal, &action, &before) == 0)
            previous_.emplace_back(signal, before);
    };
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (int signal : kIgnored)
        install(signal, ignore);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without the pipe the signals keep their default action: the process ends at once
    readFd_ = fds[0];
    writeFd = fds[1];
    signalWaiting = false;
    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { drain(); });
    struct sigaction forward {};
    forward.sa_handler = &forwardSignal;
    // The handler may end the process: no other signal may cut into it.
    sigfillset(&forward.sa_mask);
    forward.sa_flags = SA_RESTART;
    for (int signal : handledSignals())
        install(signal, forward);
}

TerminationSignals::~TerminationSignals() {
    for (auto it = previous_.rbegin(); it != previous_.rend(); ++it)
        ::sigaction(it->first, &it->second, nullptr);
    if (readFd_ < 0)
        return;
    delete notifier_;
    const int fd = writeFd;
    writeFd = -1;
    ::close(fd);
    ::close(readFd_);
}

void TerminationSignals::drain() {
    unsigned char number = 0;
    while (::read(readFd_, &number, 1) == 1) {
        // Taken: the next signal may come through the pipe as well, and the deadline is off.
        ::alarm(0);
        signalWaiting = false;
        if (number != SIGTSTP) {
            if (actions_.terminate)
                actions_.terminate(number);
            continue;
        }
        if (actions_.suspend)
            actions_.suspend();
        ::raise(SIGSTOP);
        if (actions_.resume)
            actions_.resume();
    }
}

} // namespace tarvel::platform
