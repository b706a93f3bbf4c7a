#pragma once
// The devices of one kind present on this machine, for the operator to choose from: sound outputs,
// serial ports. Asked again each time a choice is offered, since devices come and go. Called on the
// user-interface thread.
#include <string>
#include <vector>

namespace tarvel::platform {

struct DeviceChoice {
    std::string name;        // what the program opens, e.g. "plughw:0,0" or "/dev/ttyUSB0"
    std::string description; // what the system says about it, one line (UTF-8; empty when it says nothing)
};

class DeviceList {
public:
    virtual ~DeviceList() = default;
    virtual std::vector<DeviceChoice> present() const = 0;
};

} // namespace tarvel::platform
