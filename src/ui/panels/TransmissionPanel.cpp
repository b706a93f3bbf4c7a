#include "ui/panels/TransmissionPanel.h"

#include "ui/forms/MainForm.h"

namespace tarvel::ui::panels {

TransmissionPanel::TransmissionPanel(forms::MainForm& form, keyer::Transmission& transmission)
    : element_(form.Lbo), sentText_(form.LbTextNow), loopBox_(form.ChLoop), stopButton_(form.BtStopTX),
      transmission_(transmission) {
    loopBox_.onClick = [this] { transmission_.setLoop(loopBox_.checked()); };
    stopButton_.onClick = [this] { transmission_.stopTransmission(); };
    transmission_.setLoop(loopBox_.checked());
    auto& events = transmission_.events;
    events.elementShown = [this](const std::string& element) { element_.setCaption(element); };
    events.sentTextChanged = [this] { sentText_.setCaption(transmission_.sentText()); };
    events.passChanged = [this](bool sending) {
        sentText_.setFontColor(sending ? kSendingTextColor : kEndedTextColor);
    };
}

} // namespace tarvel::ui::panels
