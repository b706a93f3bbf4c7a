#pragma once
// The port panel and the transmitter's port: which serial port and which output keys the transmitter,
// the one attempt per run to open the port, and the manual PTT switch of the beacon panel. Called on the
// user-interface thread.
#include "controls/RadioGroup.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "keyer/ControlLines.h"
#include "keyer/TransmitterControl.h"
#include "settings/IniFile.h"

#include <cstdint>

namespace tarvel::keyer {

struct PortControls {
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
    static constexpr const char* kPort1Key = "Port1";
    static constexpr const char* kPort2Key = "Port2";

    // Connects the handlers. The transmitter reads iRTS at every line operation.
    PortPanel(PortControls controls, ControlLines& lines, settings::IniFile& settings);

    // The key and PTT lines the keyer drives.
    TransmitterControl& transmitter() { return transmitter_; }

    // Opens the port that RgCom shows, once per run; a failure throws "Unable to open " + name.
    void OpenPortClick();
    void P1Click();
    void Button7Click();
    void Label32Click();
    void Label33Click();

    // Start-up: the port names from the settings into the panel's fields (defaults "/dev/ttyS0",
    // "/dev/ttyS1").
    void loadPortNames();
    // Start-up: RgCom and RgRTS show the loaded iCom and iRTS.
    void showChoices();

    std::int32_t iCom = 0; // 0 = Com1, 1 = Com2
    std::int32_t iRTS = 0; // 0 = RTS keys and DTR holds the PTT; 1 = swapped

private:
    PortControls c_;
    settings::IniFile& settings_;
    TransmitterControl transmitter_;
};

} // namespace tarvel::keyer
