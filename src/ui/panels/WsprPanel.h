#pragma once
// The WSPR-2 window: its menu item, the values it arms the beacon with, and the next frame and the symbol
// being sent. Called on the user-interface thread.
#include "keyer/WsprBeacon.h"
#include "ui/forms/MainForm.h"
#include "ui/forms/WsprForm.h"

#include <cstdint>
#include <functional>

namespace tarvel::ui::panels {

class WsprPanel {
public:
    WsprPanel(forms::MainForm& main, forms::WsprForm& form, keyer::WsprBeacon& beacon,
              keyer::Transmission& transmission, std::function<std::int64_t()> nowUtcMs,
              std::function<void()> openPort);

    // Start-up: the stored values in their fields.
    void showValues(const keyer::WsprValues& values);
    // The next frame and the symbol on the air, as of now (the status tick and every change).
    void tick();

private:
    void txClick();
    void stopClick();

    forms::WsprForm& form_;
    keyer::WsprBeacon& beacon_;
    keyer::Transmission& transmission_;
    std::function<std::int64_t()> nowUtcMs_;
    std::function<void()> openPort_; // the keying port, as the beacon view opens it, unless open
};

} // namespace tarvel::ui::panels
