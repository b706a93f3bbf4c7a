#pragma once
// The test's own descriptor on the machine's /dev/ttyS0, to read the modem lines a program drives.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tarvel::e2e {

inline constexpr const char* kPort = "/dev/ttyS0";

// Opened before the program's descriptor: the kernel raises both lines at every open, so the watcher clears
// them once and keeps the port open until the end.
class PortWatcher {
public:
    PortWatcher() : fd_(::open(kPort, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (fd_ < 0 || ::tcgetattr(fd_, &saved_) != 0)
            return;
        termios noHangUp = saved_;
        noHangUp.c_cflag &= ~static_cast<tcflag_t>(HUPCL); // as "stty -hupcl" leaves a port
        ::tcsetattr(fd_, TCSANOW, &noHangUp);
        int both = TIOCM_RTS | TIOCM_DTR;
        usable_ = ::ioctl(fd_, TIOCMBIC, &both) == 0 && lines() == 0;
    }
    ~PortWatcher() {
        if (fd_ < 0)
            return;
        ::tcsetattr(fd_, TCSANOW, &saved_);
        ::close(fd_);
    }
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

    bool usable() const { return usable_; }
    // TIOCM_RTS and TIOCM_DTR as they are now; -1 when they cannot be read.
    int lines() const {
        int bits = 0;
        return ::ioctl(fd_, TIOCMGET, &bits) == 0 ? bits & (TIOCM_RTS | TIOCM_DTR) : -1;
    }
    bool hangUpOnClose() const {
        termios now{};
        return ::tcgetattr(fd_, &now) == 0 && (now.c_cflag & HUPCL);
    }

private:
    int fd_;
    termios saved_{};
    bool usable_ = false;
};

} // namespace tarvel::e2e
