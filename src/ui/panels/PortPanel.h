#pragma once
// The port panel (which serial port, which line keys, the device names, typed or picked from the ports
// present) and the beacon panel's manual
// PTT switch, which the transmission takes away while it holds the PTT. Called on the user-interface
// thread.
#include "keyer/Port.h"
#include "keyer/Transmission.h"
#include "platform/DeviceList.h"
#include "ui/controls/ComboField.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/Simple.h"

namespace tarvel::ui::forms {
struct MainForm;
}

namespace tarvel::ui::panels {

class PortPanel {
public:
    PortPanel(forms::MainForm& form, keyer::Port& port, keyer::Transmission& transmission,
              const platform::DeviceList& serialPorts);

    // Opens the port the panel shows, once per run; a failure throws "Unable to open " + name.
    void openPort();
    // Start-up: the stored port names into the fields; the loaded choices into the groups.
    void showPortNames();
    void showChoices();
    // Start-up: RTS keys until the stored choice is shown.
    void showRtsKeying();

private:
    keyer::PortChoice shown() const;

    controls::Control& popup_;
    controls::RadioGroup& portGroup_;    // "Com1", "Com2"
    controls::RadioGroup& keyLineGroup_; // "RTS", "DTR": the key line
    controls::ComboField& port1Field_;   // device behind "Com1"
    controls::ComboField& port2Field_;   // device behind "Com2"
    controls::Label& pttOff_;            // grey: a click raises the PTT
    controls::Label& pttOn_;             // red: a click drops it
    keyer::Port& port_;
};

} // namespace tarvel::ui::panels
