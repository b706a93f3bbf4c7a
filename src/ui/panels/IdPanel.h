#pragma once
// The station identification panel: the start and end ID texts, whether each is sent, and their speeds
// (CW or QRSS3). Called on the user-interface thread.
#include "keyer/Identification.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/Simple.h"
#include "ui/controls/TextField.h"

namespace tarvel::ui::forms {
struct MainForm;
}

namespace tarvel::ui::panels {

class IdPanel {
public:
    // Connects the controls; the identification takes what they show.
    IdPanel(forms::MainForm& form, keyer::Identification& identification);

    // Start-up, once the stored speed choices are loaded: 1 checks CW, 2 QRSS3; any other value leaves
    // the buttons as they are.
    void checkLoadedSpeeds();
    // Start-up: the stored texts, or what the fields show when none is stored.
    const std::string& startText() const;
    const std::string& endText() const;
    void showStartText(const std::string& text);
    void showEndText(const std::string& text);

private:
    // The speeds as the buttons show them; unchecking a button runs no handler, checking its sibling does.
    void takeSpeeds();
    // A speed clicked: the stored choice, and the speeds as the buttons show them.
    void speedClicked(std::int32_t& setting, std::int32_t value);

    controls::Control& popup_;
    controls::CheckBox& sendStartBox_;
    controls::TextField& startText_;
    controls::RadioButton& startCw_;
    controls::RadioButton& startQrss3_;
    controls::CheckBox& sendEndBox_;
    controls::TextField& endText_;
    controls::RadioButton& endCw_;
    controls::RadioButton& endQrss3_;
    keyer::Identification& id_;
};

} // namespace tarvel::ui::panels
