#pragma once
// Opens the transmitter's serial port once per run and maps key and PTT to RTS and DTR by the operator's
// line choice. Called on the user-interface thread; the key operations also from the keyer timer's own
// thread, which makes the key edges at their deadlines: the line operations take turns.
#include "keyer/ControlLines.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace tarvel::keyer {

// The serial port that keys the transmitter, as the port panel offers it and "iCom" stores it. A stored
// number that is neither stays as it is: the beacon refuses it, and opening it names it.
enum class ComPort : std::int32_t { Com1 = 0, Com2 = 1 };
// The output that keys; the other holds the PTT. "iRTS" stores it; any number but 1 keys on RTS.
enum class KeyLine : std::int32_t { Rts = 0, Dtr = 1 };

class TransmitterControl {
public:
    static constexpr const char* kDefaultPort1 = "/dev/ttyS0";
    static constexpr const char* kDefaultPort2 = "/dev/ttyS1";

    // keyLine: the choice in force, read at every line operation; it outlives this.
    TransmitterControl(ControlLines& lines, const KeyLine& keyLine);
    TransmitterControl(ControlLines& lines, const KeyLine&& keyLine) = delete;

    // The port names behind Com1 and Com2 (settings "Port1" and "Port2"), Windows-1251.
    void setPortNames(std::string port1, std::string port2);
    // The name for a port choice; a choice that is neither gives "".
    std::string portName(ComPort choice) const;

    // Opens the chosen port on the first call of the run; later calls do nothing, whatever the outcome
    // of the first. A port that cannot be opened throws PortOpenFailure ("Unable to open " + name, and the
    // lock file that kept it, if any); a choice with no device behind it throws platform::Failure naming
    // the choice instead of the device.
    void openPort(ComPort choice);

    bool portOpened() const { return portOpened_; } // the one attempt has been made
    bool isOpen() const { return open_; }           // ...and it succeeded

    void keyOn();
    void keyOff();
    void pttOn();
    void pttOff();
    // The key going down or up, made later on another thread (the keyer timer's, at a deadline) on the line
    // chosen now; nothing when the port is not open by then.
    std::function<void()> keyEdge(bool down);
    // The end of the run: both lines cleared, whatever the line choice, and the port let go. Later line
    // operations do nothing, and the port is not opened again.
    void releasePort();

private:
    bool keyIsRts() const;
    void setKey(bool on);
    void setPtt(bool on);

    ControlLines& lines_;
    const KeyLine& keyLine_;
    std::string port1_ = kDefaultPort1;
    std::string port2_ = kDefaultPort2;
    bool portOpened_ = false;
    bool open_ = false;
    std::mutex lineMutex_; // the lines and open_, between the two threads
};

} // namespace tarvel::keyer
