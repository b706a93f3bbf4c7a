#pragma once
// A device list that offers what the test puts in it.
#include "platform/DeviceList.h"

namespace tarvel::mock {

class FixedDeviceList : public platform::DeviceList {
public:
    std::vector<platform::DeviceChoice> present() const override { return devices; }
    std::vector<platform::DeviceChoice> devices;
};

} // namespace tarvel::mock
