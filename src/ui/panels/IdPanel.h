#pragma once
// The station identification panel: the start and end ID texts, whether each is sent, and their speeds
// (CW or QRSS3). Called on the user-interface thread.
#include "controls/CheckBox.h"
#include "controls/RadioButton.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "keyer/Identification.h"
#include "settings/IniFile.h"

namespace tarvel::ui::panels {

struct IdPanelControls {
    controls::MenuItem& ID1; // "   ID   "
    controls::Control& Pnid;
    controls::CheckBox& ChStart;
    controls::TextField& Ed_id_Start;
    controls::RadioButton& RBtCWs;
    controls::RadioButton& RBtQrss3s;
    controls::CheckBox& ChStop;
    controls::TextField& Ed_id_End;
    controls::RadioButton& RBtCW;
    controls::RadioButton& RBtQrss3;
    controls::Button& BtPNid; // "Ok"
};

class IdPanel {
public:
    // Connects the controls; the identification takes what they show.
    IdPanel(IdPanelControls controls, keyer::Identification& identification, settings::IniFile& settings);

    // Start-up, once the stored speed choices are loaded: 1 checks CW, 2 QRSS3; any other value leaves
    // the buttons as they are.
    void checkLoadedSpeeds();

private:
    // The speeds as the buttons show them; unchecking a button runs no handler, checking its sibling does.
    void takeSpeeds();
    // A speed clicked: the stored choice, and the speeds as the buttons show them.
    void speedClicked(std::int32_t& setting, std::int32_t value);

    IdPanelControls c_;
    keyer::Identification& id_;
    settings::IniFile& settings_;
};

} // namespace tarvel::ui::panels
