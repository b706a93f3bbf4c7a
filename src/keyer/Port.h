#pragma once
// The transmitter's port: which serial port and which output keys the transmitter, the one attempt per
// run to open the port, the stored choices, and the operator's manual PTT. Called on the user-interface
// thread.
#include "keyer/ControlLines.h"
#include "keyer/TransmitterControl.h"
#include "platform/Notice.h"

#include <cstdint>
#include <string>

namespace tarvel::keyer {

// What the port panel shows and stores.
struct PortChoice {
    ComPort com = ComPort::Com1;
    KeyLine keyLine = KeyLine::Rts;
    std::string port1; // device behind "Com1", Windows-1251
    std::string port2; // device behind "Com2"
};

class Port {
public:
    // The transmitter reads the key line choice at every line operation.
    explicit Port(ControlLines& lines);

    // The key and PTT lines the keyer drives.
    TransmitterControl& transmitter() { return transmitter_; }

    // Opens the port of the shown choice, once per run, with the names shown now (only the first call
    // of the run uses them); a failure throws "Unable to open " + name.
    void open(const PortChoice& shown);
    // The panel's "OK": the choices take effect and are told to be stored (saved: "iCom", "iRTS", "Port1",
    // "Port2", in this order).
    void save(const PortChoice& shown);
    platform::Notice<const PortChoice&> saved;
    // Start-up: the stored port names.
    void setNames(std::string port1, std::string port2) {
        port1_ = std::move(port1);
        port2_ = std::move(port2);
    }
    const std::string& port1() const { return port1_; }
    const std::string& port2() const { return port2_; }

    // The choices in force, as stored.
    ComPort portChoice = ComPort::Com1;
    KeyLine keyLineChoice = KeyLine::Rts;

private:
    TransmitterControl transmitter_;
    std::string port1_ = TransmitterControl::kDefaultPort1;
    std::string port2_ = TransmitterControl::kDefaultPort2;
};

} // namespace tarvel::keyer
