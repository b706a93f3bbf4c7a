#include "keyer/PortPanel.h"

namespace tarvel::keyer {

PortPanel::PortPanel(PortControls controls, ControlLines& lines, settings::IniFile& settings)
    : c_(controls), settings_(settings), transmitter_(lines, [this] { return iRTS; }) {
    c_.P1.onClick = [this] { P1Click(); };
    c_.Button7.onClick = [this] { Button7Click(); };
    c_.OpenPort.onClick = [this] { OpenPortClick(); };
    c_.Label32.onClick = [this] { Label32Click(); };
    c_.Label33.onClick = [this] { Label33Click(); };
}

void PortPanel::OpenPortClick() {
    // The names as the panel shows them now; only the first call of the run uses them.
    if (!transmitter_.portOpened())
        transmitter_.setPortNames(c_.EdPort1.text(), c_.EdPort2.text());
    transmitter_.openPort(c_.RgCom.itemIndex());
}

void PortPanel::P1Click() {
    c_.PnPort.show();
}

void PortPanel::Button7Click() {
    c_.PnPort.hide();
    iCom = c_.RgCom.itemIndex();
    iRTS = c_.RgRTS.itemIndex();
    settings_.writeInteger("iCom", iCom);
    settings_.writeInteger("iRTS", iRTS);
    settings_.writeText(kPort1Key, c_.EdPort1.text());
    settings_.writeText(kPort2Key, c_.EdPort2.text());
}

void PortPanel::Label32Click() {
    transmitter_.pttOn();
    c_.Label32.hide();
    c_.Label33.show();
}

void PortPanel::Label33Click() {
    transmitter_.pttOff();
    c_.Label33.hide();
    c_.Label32.show();
}

void PortPanel::loadPortNames() {
    c_.EdPort1.setText(settings_.readText(kPort1Key, TransmitterControl::kDefaultPort1));
    c_.EdPort2.setText(settings_.readText(kPort2Key, TransmitterControl::kDefaultPort2));
}

void PortPanel::showChoices() {
    c_.RgCom.setItemIndex(iCom);
    c_.RgRTS.setItemIndex(iRTS);
}

} // namespace tarvel::keyer
