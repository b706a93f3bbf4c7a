#include "keyer/SerialControlLines.h"

#include <atomic>
#include <sys/ioctl.h>
#include <termios.h>

namespace tarvel::keyer {
namespace {

// The descriptor of the open port, for the crash handler; -1 when none is open.
std::atomic<int> openPortHandle{-1};

// One ioctl per operation: QSerialPort's own setters read the lines back first and emit signals.
void changeLines(QSerialPort& port, int bits, bool on) {
    if (!port.isOpen())
        return;
    ::ioctl(port.handle(), on ? TIOCMBIS : TIOCMBIC, &bits);
}

} // namespace

bool SerialControlLines::open(const std::string& portName) {
    if (portName.empty())
        return false;
    port_.setPortName(QString::fromStdString(portName));
    // No data is sent, so the rate is only what the transmitter interface expects; hardware flow control
    // would take RTS away from the keyer.
    port_.setBaudRate(1200);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::WriteOnly))
        return false;
    // Linux raises DTR and RTS on open: drop both at once before the transmitter notices.
    changeLines(port_, TIOCM_DTR | TIOCM_RTS, false);
    openPortHandle = port_.handle();
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
    port_.close();
}

void SerialControlLines::clearOpenPortLines() {
    int both = TIOCM_DTR | TIOCM_RTS;
    if (const int fd = openPortHandle.load(); fd >= 0)
        ::ioctl(fd, TIOCMBIC, &both);
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
