#include "platform/TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tarvel::platform {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the handler; only async-signal-safe calls may touch it there.
volatile sig_atomic_t writeFd = -1;

void forwardSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds news enough to end the program.
    if (writeFd >= 0 && ::write(writeFd, &number, 1) < 0) {
    }
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without the pipe the signals keep their default action: the process ends at once
    readFd_ = fds[0];
    writeFd = fds[1];
    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { drain(); });
    struct sigaction action {};
    action.sa_handler = &forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    if (readFd_ < 0)
        return;
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    delete notifier_;
    const int fd = writeFd;
    writeFd = -1;
    ::close(fd);
    ::close(readFd_);
}

void TerminationSignals::drain() {
    unsigned char number = 0;
    while (::read(readFd_, &number, 1) == 1)
        if (onSignal_)
            onSignal_(number);
}

} // namespace tarvel::platform
