#include "ui/panels/TransmissionPanel.h"

#include "ui/forms/MainForm.h"

namespace tarvel::ui::panels {

const char* elementMark(keyer::Element element) {
    switch (element) {
    case keyer::Element::OpeningPause:
        return "//";
    case keyer::Element::Dot:
        return "*";
    case keyer::Element::Dash:
        return "==";
    case keyer::Element::ElementGap:
        return "/";
    case keyer::Element::LetterGap:
        return "-----";
    case keyer::Element::Symbols:
        return "~~~";
    case keyer::Element::End:
        break;
    }
    return "END";
}

TransmissionPanel::TransmissionPanel(forms::MainForm& form, keyer::Transmission& transmission)
    : element_(form.Lbo), sentText_(form.LbTextNow), loopBox_(form.ChLoop), stopButton_(form.BtStopTX),
      transmission_(transmission) {
    loopBox_.onClick = [this] { transmission_.setLoop(loopBox_.checked()); };
    stopButton_.onClick = [this] { transmission_.stopTransmission(); };
    transmission_.setLoop(loopBox_.checked());
    auto& notices = transmission_.notices;
    notices.elementBegun.connect(
        [this](keyer::Element element) { element_.setCaption(elementMark(element)); });
    notices.sentTextChanged.connect([this] { sentText_.setCaption(transmission_.sentText()); });
    notices.passChanged.connect(
        [this](bool sending) { sentText_.setFontColor(sending ? kSendingTextColor : kEndedTextColor); });
}

} // namespace tarvel::ui::panels
