#pragma once
// The port panel (which serial port, which line keys, the device names) and the beacon panel's manual
// PTT switch, which the transmission takes away while it holds the PTT. Called on the user-interface
// thread.
#include "controls/RadioGroup.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "keyer/Port.h"
#include "keyer/Transmission.h"

namespace tarvel::ui::panels {

struct PortPanelControls {
    controls::MenuItem& P1; // Setup > "Port"
    controls::Control& PnPort;
    controls::RadioGroup& RgCom;  // "Com1", "Com2"
    controls::RadioGroup& RgRTS;  // "RTS", "DTR": the key line
    controls::TextField& EdPort1; // device behind "Com1"
    controls::TextField& EdPort2; // device behind "Com2"
    controls::Button& Button7;    // "OK"
    controls::Button& OpenPort;   // "Open Com Port"
    controls::Label& Label32;     // manual PTT, off (grey)
    controls::Label& Label33;     // manual PTT, on (red)
};

class PortPanel {
public:
    PortPanel(PortPanelControls controls, keyer::Port& port, keyer::Transmission& transmission);

    // Opens the port that RgCom shows, once per run; a failure throws "Unable to open " + name.
    void OpenPortClick();
    // Start-up: the stored port names into the fields; the loaded choices into the groups.
    void loadPortNames();
    void showChoices();

private:
    keyer::PortChoice shown() const;

    PortPanelControls c_;
    keyer::Port& port_;
};

} // namespace tarvel::ui::panels
