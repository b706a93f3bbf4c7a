#pragma once
// The devices present as a combo field's entries: picking one gives its name, the list shows what the
// system says about it too, e.g. "/dev/ttyUSB0 — FT232R USB UART, FTDI".
#include "platform/Cp1251.h"
#include "platform/DeviceList.h"
#include "ui/controls/ComboField.h"

#include <vector>

namespace tarvel::ui::panels {

inline std::vector<controls::ComboField::Entry>
deviceEntries(const std::vector<platform::DeviceChoice>& devices) {
    std::vector<controls::ComboField::Entry> entries;
    for (const platform::DeviceChoice& device : devices) {
        const std::string shown =
            device.description.empty() ? device.name : device.name + " — " + device.description;
        entries.push_back({platform::utf8ToCp1251(device.name), platform::utf8ToCp1251(shown)});
    }
    return entries;
}

} // namespace tarvel::ui::panels
