#pragma once
// The serial ports present (built-in, USB adapters, modems), with what the system says about each:
// description and maker, e.g. "FT232R USB UART, FTDI".
#include "platform/DeviceList.h"

namespace tarvel::keyer {

class SerialPortList final : public platform::DeviceList {
public:
    // In the order of their device names, numbers by value: ttyS2 before ttyS10.
    std::vector<platform::DeviceChoice> present() const override;
};

} // namespace tarvel::keyer
