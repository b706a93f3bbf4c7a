#pragma once
// The keyer's panels over the keyer rig, bound to the main window's controls as the main window binds
// them.
#include "keyer/KeyerRig.h"
#include "keyer/Presets.h"
#include "mock/FixedDeviceList.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/BeaconMessagesPanel.h"
#include "ui/panels/DiagnosticPanel.h"
#include "ui/panels/EstimatePanel.h"
#include "ui/panels/IdPanel.h"
#include "ui/panels/PortPanel.h"
#include "ui/panels/PresetsPanel.h"
#include "ui/panels/TransmissionPanel.h"

namespace tarvel::test {

struct KeyerPanelsRig : KeyerRig {
    KeyerPanelsRig() {
        station::writeChangesOf(fp.ini, transmission.identification());
        station::writeChangesOf(fp.ini, presets);
        // As start-up leaves the port panel without stored choices: Com1.
        main.RgCom.setItemIndex(0);
        // The messages the keyer rig holds, shown in their fields.
        main.EdTX1.setText("E");
        main.EdTX2.setText("A");
    }

    ui::forms::MainForm main;
    mock::FixedDeviceList serialPorts;
    ui::panels::PortPanel portPanel{main, port, transmission, serialPorts};
    ui::panels::IdPanel idPanel{main, transmission.identification()};
    ui::panels::TransmissionPanel transmissionPanel{main, transmission};
    ui::panels::EstimatePanel estimatePanel{main, transmission};

    // Stored messages and the clock.
    std::unique_ptr<mock::VirtualTimer> timer2 = time.makeTimer();
    keyer::BeaconClock clock{logbook, time, *timer2, fp.sink};
    ui::panels::BeaconMessagesPanel messagesPanel{main, messages, clock, transmission};

    std::vector<std::string> clipboard;
    ui::panels::DiagnosticPanel diagnosticPanel{
        main, transmission, [this](const std::string& text) { clipboard.push_back(text); }};

    keyer::Presets presets{transmission};
    ui::panels::PresetsPanel presetsPanel{main, presets, transmission};

    // The speed buttons from left to right, QRSS row first.
    std::array<Button*, keyer::Presets::kSpeedButtons> speed() {
        return {&main.BtQRSS1,  &main.Button6,  &main.Btqrss10,  &main.Btqrss20,
                &main.Btqrss30, &main.Btqrss60, &main.Btqrss90,  &main.Btqrss120,
                &main.BtDFCW3,  &main.BtDFCW10, &main.Btdfcw20,  &main.Btdfcw30,
                &main.btDFCW60, &main.BtDFCW90, &main.Btdfcw120, &main.Btdfcw240};
    }

    // What a message panel does: message 1 holds the text, and its panel is clicked.
    void sendFromPanel(const std::string& message) {
        main.EdTX1.setText(message);
        act([&] { main.PnTX1.click(); });
    }
};

} // namespace tarvel::test
