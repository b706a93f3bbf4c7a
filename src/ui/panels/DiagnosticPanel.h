#pragma once
// The keyer's diagnostic panel: single element actions, one step by hand, the hidden Start TX, the
// trace, and the fields that show the sequence and the shift. Nothing is read back from these fields but
// the message the hidden Start TX sends. Called on the user-interface thread.
#include "keyer/Transmission.h"
#include "ui/controls/Memo.h"
#include "ui/controls/Simple.h"
#include "ui/controls/TextField.h"

#include <functional>
#include <string>

namespace tarvel::ui::forms {
struct MainForm;
}

namespace tarvel::ui::panels {

class DiagnosticPanel {
public:
    // cutToClipboard: puts Windows-1251 text on the clipboard.
    DiagnosticPanel(forms::MainForm& form, keyer::Transmission& transmission,
                    std::function<void(const std::string&)> cutToClipboard);

private:
    // Cuts an "S" through the clipboard buffer, then goes one symbol further and steps.
    void cutLetterAndStep();

    controls::TextField& clipboardBuffer_;
    controls::TextField& compiledText_; // the message as compiled; the hidden Start TX sends it
    controls::TextField& sequence_;     // the element sequence
    controls::TextField& gapShift_;     // the shift after each gap
    controls::Memo& trace_;
    keyer::Transmission& transmission_;
    std::function<void(const std::string&)> cutToClipboard_;
};

} // namespace tarvel::ui::panels
