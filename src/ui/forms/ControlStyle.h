#pragma once
// How a widget draws one control beyond what the control model holds: font, frame, text length.
#include <string>

namespace tarvel::ui::forms {

struct ControlStyle {
    bool bold = false;
    std::string fontFamily; // empty: the toolkit's default font
    bool borderless = false;
    int maxLength = 0;      // characters a text field takes; 0: no limit
    bool fixedSize = false; // a window with a single fixed border and no maximise box
    // A panel or window that opens over the others for a while: it takes the keyboard focus when it
    // shows, gives it back when it hides, and Escape hides it.
    bool popUp = false;

    bool operator==(const ControlStyle&) const = default;
};

} // namespace tarvel::ui::forms
