#include "keyer/SerialControlLines.h"

#include "keyer/PortLockFile.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tarvel::keyer {
namespace {

// The descriptor of the open port, for the crash handler; -1 when none is open.
std::atomic<int> openPortHandle{-1};
// The open port's lock file, for the signal hook, computed while there is time; valid while the flag is set.
std::array<char, PATH_MAX> openPortLockFile{};
std::atomic<bool> openPortLockFileKnown{false};

void rememberLockFile(const std::string& portName) {
    openPortLockFileKnown = false;
    const std::string path = portLockFilePath(portName);
    // Only a lock file this process holds is ever removed.
    if (path.empty() || path.size() >= openPortLockFile.size() || lockFileOwner(path.c_str()) != ::getpid())
        return;
    std::memcpy(openPortLockFile.data(), path.c_str(), path.size() + 1);
    openPortLockFileKnown = true;
}

// One ioctl per operation: QSerialPort's own setters read the lines back first and emit signals.
void changeLines(QSerialPort& port, int bits, bool on) {
    if (!port.isOpen())
        return;
    ::ioctl(port.handle(), on ? TIOCMBIS : TIOCMBIC, &bits);
}

} // namespace

bool SerialControlLines::open(const std::string& portName) {
    refusal_ = {};
    if (portName.empty())
        return false;
    port_.setPortName(QString::fromStdString(portName));
    // No data is sent, so the rate is only what the transmitter interface expects; hardware flow control
    // would take RTS away from the keyer.
    port_.setBaudRate(1200);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::WriteOnly)) {
        explainRefusal(portName);
        return false;
    }
    // Linux raises DTR and RTS on open: drop both at once before the transmitter notices.
    changeLines(port_, TIOCM_DTR | TIOCM_RTS, false);
    openPortHandle = port_.handle();
    rememberLockFile(portName);
    // Many ports come with hang-up on close switched off (a console port, "stty -hupcl", some USB
    // adapters): ask for it, so that a killed process cannot leave the transmitter keyed.
    termios tio{};
    if (::tcgetattr(port_.handle(), &tio) == 0 && !(tio.c_cflag & HUPCL)) {
        tio.c_cflag |= HUPCL;
        ::tcsetattr(port_.handle(), TCSANOW, &tio);
    }
    return true;
}

void SerialControlLines::close() {
    if (!port_.isOpen())
        return;
    changeLines(port_, TIOCM_DTR | TIOCM_RTS, false);
    openPortHandle = -1;
    openPortLockFileKnown = false;
    port_.close();
}

void SerialControlLines::explainRefusal(const std::string& portName) {
    refusal_.lockedBy = lockRefusal(portName);
    if (!refusal_.lockedBy.empty())
        return;
    // The device's own refusal, asked without opening it (an open would raise both lines of a port that
    // someone else holds); whatever that cannot tell, the serial library's words say.
    if (::faccessat(AT_FDCWD, portDevicePath(portName).c_str(), W_OK, AT_EACCESS) != 0) {
        refusal_.systemError = errno;
        refusal_.systemReason = std::strerror(refusal_.systemError);
    } else {
        refusal_.systemReason = port_.errorString().toStdString();
    }
}

void SerialControlLines::clearOpenPortLines() {
    int both = TIOCM_DTR | TIOCM_RTS;
    if (const int fd = openPortHandle.load(); fd >= 0)
        ::ioctl(fd, TIOCMBIC, &both);
}

void SerialControlLines::abandonOpenPort() {
    clearOpenPortLines();
    if (openPortLockFileKnown.load() && lockFileOwner(openPortLockFile.data()) == ::getpid())
        ::unlink(openPortLockFile.data());
}

void SerialControlLines::setRts(bool on) {
    changeLines(port_, TIOCM_RTS, on);
}

void SerialControlLines::setDtr(bool on) {
    changeLines(port_, TIOCM_DTR, on);
}

std::optional<SerialControlLines::Levels> SerialControlLines::readBack() const {
    int bits = 0;
    if (!port_.isOpen() || ::ioctl(port_.handle(), TIOCMGET, &bits) != 0)
        return std::nullopt;
    return Levels{(bits & TIOCM_RTS) != 0, (bits & TIOCM_DTR) != 0};
}

} // namespace tarvel::keyer
