#include "keyer/TransmitterControl.h"

#include "keyer/PortOpenFailure.h"
#include "platform/Cp1251.h"

#include <utility>

namespace tarvel::keyer {

TransmitterControl::TransmitterControl(ControlLines& lines, const KeyLine& keyLine)
    : lines_(lines), keyLine_(keyLine) {}

void TransmitterControl::setPortNames(std::string port1, std::string port2) {
    port1_ = std::move(port1);
    port2_ = std::move(port2);
}

std::string TransmitterControl::portName(ComPort choice) const {
    if (choice == ComPort::Com1)
        return port1_;
    if (choice == ComPort::Com2)
        return port2_;
    return {};
}

void TransmitterControl::openPort(ComPort choice) {
    const auto index = static_cast<std::int32_t>(choice);
    if (portOpened_)
        return;
    // Marked before the attempt: a port that fails is not tried, nor reported, again in this run.
    portOpened_ = true;
    const std::string name = platform::cp1251ToUtf8(portName(choice));
    // A choice without a port is a failed open; the device is not asked to open nothing, and the message
    // names the choice instead.
    if (name.empty())
        throw platform::Failure(
            "Unable to open " +
            (index == 0 || index == 1
                 ? "Com" + std::to_string(index + 1) + ": no device is named for it"
                 : "port choice " + std::to_string(index) + ": there are only Com1 and Com2"));
    const bool opened = lines_.open(name);
    {
        const std::lock_guard lock(lineMutex_);
        open_ = opened;
    }
    if (!opened)
        throw PortOpenFailure(name, lines_.refusal());
}

bool TransmitterControl::keyIsRts() const {
    return keyLine_ != KeyLine::Dtr;
}

void TransmitterControl::setKey(bool on) {
    const std::lock_guard lock(lineMutex_);
    if (!open_)
        return;
    if (keyIsRts())
        lines_.setRts(on);
    else
        lines_.setDtr(on);
}

void TransmitterControl::setPtt(bool on) {
    const std::lock_guard lock(lineMutex_);
    if (!open_)
        return;
    if (keyIsRts())
        lines_.setDtr(on);
    else
        lines_.setRts(on);
}

void TransmitterControl::keyOn() {
    setKey(true);
}
void TransmitterControl::keyOff() {
    setKey(false);
}
void TransmitterControl::pttOn() {
    setPtt(true);
}
void TransmitterControl::pttOff() {
    setPtt(false);
}

std::function<void()> TransmitterControl::keyEdge(bool down) {
    // Resolved here: the choice is the user-interface thread's to read.
    return [this, rts = keyIsRts(), down] {
        const std::lock_guard lock(lineMutex_);
        if (!open_)
            return;
        if (rts)
            lines_.setRts(down);
        else
            lines_.setDtr(down);
    };
}

void TransmitterControl::releasePort() {
    // No edge comes after this: the keyer timer's thread finds the port let go.
    const std::lock_guard lock(lineMutex_);
    if (!open_)
        return;
    open_ = false;
    lines_.close();
}

} // namespace tarvel::keyer
