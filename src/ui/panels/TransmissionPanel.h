#pragma once
// The beacon panel's view of a transmission: the element on the air, the text sent so far and its
// colour, the loop switch and Stop TX. Called on the user-interface thread.
#include "keyer/Transmission.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/Simple.h"

namespace tarvel::ui::forms {
struct MainForm;
}

namespace tarvel::ui::panels {

// Text colour of the sent text while a pass runs, and once it has ended.
constexpr controls::Color kSendingTextColor = controls::rgb(0xF4, 0x40, 0x02); // 147700
constexpr controls::Color kEndedTextColor = controls::rgb(0xC1, 0xB6, 0x06);   // 440001

// The mark the panel shows for an element: "//", "*", "==", "/", "-----", "END".
const char* elementMark(keyer::Element element);

class TransmissionPanel {
public:
    // Connects the controls and follows the transmission; the loop takes the box's state.
    TransmissionPanel(forms::MainForm& form, keyer::Transmission& transmission);

private:
    controls::Label& element_;
    controls::Label& sentText_;
    controls::CheckBox& loopBox_;
    controls::Button& stopButton_;
    keyer::Transmission& transmission_;
};

} // namespace tarvel::ui::panels
