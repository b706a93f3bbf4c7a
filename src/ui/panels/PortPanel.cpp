#include "ui/panels/PortPanel.h"

#include "ui/forms/MainForm.h"
#include "ui/panels/DeviceEntries.h"

namespace tarvel::ui::panels {

PortPanel::PortPanel(forms::MainForm& form, keyer::Port& port, keyer::Transmission& transmission,
                     const platform::DeviceList& serialPorts)
    : popup_(form.PnPort), portGroup_(form.RgCom), keyLineGroup_(form.RgRTS), port1Field_(form.EdPort1),
      port2Field_(form.EdPort2), pttOff_(form.Label32), pttOn_(form.Label33), port_(port) {
    form.P1.onClick = [this] { popup_.show(); };
    for (controls::ComboField* field : {&port1Field_, &port2Field_})
        field->onDropDown = [field, &serialPorts] {
            field->setEntries(deviceEntries(serialPorts.present()));
        };
    form.OpenPort.onClick = [this] { openPort(); };
    form.Button7.onClick = [this] {
        popup_.hide();
        port_.save(shown());
    };
    pttOff_.onClick = [this] {
        port_.transmitter().pttOn();
        // The other switch shows before this one hides, so a keyboard focus passes over to it.
        pttOn_.show();
        pttOff_.hide();
    };
    pttOn_.onClick = [this] {
        port_.transmitter().pttOff();
        pttOff_.show();
        pttOn_.hide();
    };
    transmission.notices.manualPttOffered.connect([this](bool offered) { pttOff_.setVisible(offered); });
}

keyer::PortChoice PortPanel::shown() const {
    return {keyer::ComPort{portGroup_.itemIndex()}, keyer::KeyLine{keyLineGroup_.itemIndex()},
            port1Field_.text(), port2Field_.text()};
}

void PortPanel::openPort() {
    port_.open(shown());
}

void PortPanel::showPortNames() {
    port1Field_.setText(port_.port1());
    port2Field_.setText(port_.port2());
}

void PortPanel::showRtsKeying() {
    keyLineGroup_.setItemIndex(0);
}

void PortPanel::showChoices() {
    portGroup_.setItemIndex(static_cast<std::int32_t>(port_.portChoice));
    keyLineGroup_.setItemIndex(static_cast<std::int32_t>(port_.keyLineChoice));
}

} // namespace tarvel::ui::panels
