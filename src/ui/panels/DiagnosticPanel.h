#pragma once
// The keyer's diagnostic panel: single element actions, one step by hand, the hidden Start TX, the
// trace, and the fields that show the sequence and the shift. Nothing is read back from these fields but
// the message the hidden Start TX sends. Called on the user-interface thread.
#include "controls/Memo.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "keyer/Transmission.h"

#include <functional>
#include <string>

namespace tarvel::ui::panels {

struct DiagnosticPanelControls {
    controls::Button& dot;
    controls::Button& dash;
    controls::Button& lPause;   // element gap
    controls::Button& bigPause; // letter gap
    controls::Button& btStP;    // opening pause
    controls::Button& BtPause;  // key up
    controls::Button& Button3;  // one step
    controls::Button& Button4;  // back to the first symbol
    controls::Button& cw;       // key down
    controls::Button& BtText;
    controls::TextField& EdbufTtx;
    controls::Button& BtTX;     // "Start TX" (not visible)
    controls::TextField& EdTX;  // the message as compiled
    controls::TextField& Ed3;   // the element sequence
    controls::TextField& Edit4; // the shift after each gap
    controls::Memo& Memo1;      // trace
};

class DiagnosticPanel {
public:
    // cutToClipboard: puts Windows-1251 text on the clipboard.
    DiagnosticPanel(DiagnosticPanelControls controls, keyer::Transmission& transmission,
                    std::function<void(const std::string&)> cutToClipboard);

    // Cuts an "S" through the clipboard buffer, then goes one symbol further and steps.
    void BtTextClick();

private:
    DiagnosticPanelControls c_;
    keyer::Transmission& transmission_;
    std::function<void(const std::string&)> cutToClipboard_;
};

} // namespace tarvel::ui::panels
