#include "ui/panels/TransmissionPanel.h"

namespace tarvel::ui::panels {

TransmissionPanel::TransmissionPanel(TransmissionPanelControls controls, keyer::Transmission& transmission)
    : c_(controls), transmission_(transmission) {
    c_.ChLoop.onClick = [this] { transmission_.setLoop(c_.ChLoop.checked()); };
    c_.BtStopTX.onClick = [this] { transmission_.stopTransmission(); };
    transmission_.setLoop(c_.ChLoop.checked());
    auto& events = transmission_.events;
    events.elementShown = [this](const std::string& element) { c_.Lbo.setCaption(element); };
    events.sentTextChanged = [this] { c_.LbTextNow.setCaption(transmission_.sentText()); };
    events.passChanged = [this](bool sending) {
        c_.LbTextNow.setFontColor(sending ? kSendingTextColor : kEndedTextColor);
    };
}

} // namespace tarvel::ui::panels
