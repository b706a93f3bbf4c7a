#pragma once
// Opens the transmitter's serial port once per run and maps key and PTT to RTS and DTR by the operator's
// line choice. Called on the user-interface thread only.
#include "keyer/ControlLines.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tarvel::keyer {

class TransmitterControl {
public:
    static constexpr const char* kDefaultPort1 = "/dev/ttyS0";
    static constexpr const char* kDefaultPort2 = "/dev/ttyS1";

    // keyLineChoice: the stored key line choice, read at every line operation (0: key = RTS, PTT = DTR; 1:
    // swapped; any other value is taken as 0).
    TransmitterControl(ControlLines& lines, std::function<std::int32_t()> keyLineChoice);

    // The port names behind the choices 0 and 1 (settings "Port1" and "Port2"), Windows-1251.
    void setPortNames(std::string port1, std::string port2);
    // The name for a port choice; any index but 0 and 1 gives "".
    std::string portName(std::int32_t index) const;

    // Opens the chosen port on the first call of the run; later calls do nothing, whatever the outcome
    // of the first. A port that cannot be opened throws PortOpenFailure ("Unable to open " + name, and the
    // lock file that kept it, if any); a choice with no device behind it throws platform::Failure naming
    // the choice instead of the device.
    void openPort(std::int32_t index);

    bool portOpened() const { return portOpened_; } // the one attempt has been made
    bool isOpen() const { return open_; }           // ...and it succeeded

    void keyOn();
    void keyOff();
    void pttOn();
    void pttOff();
    // The end of the run: both lines cleared, whatever the line choice, and the port let go. Later line
    // operations do nothing, and the port is not opened again.
    void releasePort();

private:
    bool keyIsRts() const;
    void setKey(bool on);
    void setPtt(bool on);

    ControlLines& lines_;
    std::function<std::int32_t()> keyLineChoice_;
    std::string port1_ = kDefaultPort1;
    std::string port2_ = kDefaultPort2;
    bool portOpened_ = false;
    bool open_ = false;
};

} // namespace tarvel::keyer
