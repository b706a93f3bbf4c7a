#include "ui/panels/PortPanel.h"

namespace tarvel::ui::panels {

PortPanel::PortPanel(PortPanelControls controls, keyer::Port& port, keyer::Transmission& transmission)
    : c_(controls), port_(port) {
    c_.P1.onClick = [this] { c_.PnPort.show(); };
    c_.OpenPort.onClick = [this] { OpenPortClick(); };
    c_.Button7.onClick = [this] {
        c_.PnPort.hide();
        port_.save(shown());
    };
    c_.Label32.onClick = [this] {
        port_.transmitter().pttOn();
        c_.Label32.hide();
        c_.Label33.show();
    };
    c_.Label33.onClick = [this] {
        port_.transmitter().pttOff();
        c_.Label33.hide();
        c_.Label32.show();
    };
    transmission.events.manualPttOffered = [this](bool offered) { c_.Label32.setVisible(offered); };
}

keyer::PortChoice PortPanel::shown() const {
    return {c_.RgCom.itemIndex(), c_.RgRTS.itemIndex(), c_.EdPort1.text(), c_.EdPort2.text()};
}

void PortPanel::OpenPortClick() {
    port_.open(shown());
}

void PortPanel::loadPortNames() {
    port_.loadNames();
    c_.EdPort1.setText(port_.port1());
    c_.EdPort2.setText(port_.port2());
}

void PortPanel::showChoices() {
    c_.RgCom.setItemIndex(port_.iCom);
    c_.RgRTS.setItemIndex(port_.iRTS);
}

} // namespace tarvel::ui::panels
