#pragma once
// The station identification panel: the start and end ID texts and their speeds (CW or QRSS3), and how
// they are stored. Called on the user-interface thread.
#include "controls/CheckBox.h"
#include "controls/RadioButton.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "settings/IniFile.h"

#include <cstdint>

namespace tarvel::keyer {

struct IdControls {
    controls::MenuItem& ID1; // "   ID   "
    controls::Control& Pnid;
    controls::TextField& Ed_id_Start;
    controls::RadioButton& RBtCWs;
    controls::RadioButton& RBtQrss3s;
    controls::TextField& Ed_id_End;
    controls::RadioButton& RBtCW;
    controls::RadioButton& RBtQrss3;
    controls::Button& BtPNid; // "Ok"
};

class IdPanel {
public:
    // Connects the handlers.
    IdPanel(IdControls controls, settings::IniFile& settings);

    void ID1Click();
    void RBtCWClick();
    void RBtQrss3Click();
    void RBtCWsClick();
    void RBtQrss3sClick();
    void BtPNidClick();

    // Start-up, once id and ids hold the loaded keys: 1 checks CW, 2 QRSS3; any other value leaves the
    // buttons as they are.
    void checkLoadedSpeeds();

    std::int32_t id = 0;  // end-ID speed: 1 = CW, 2 = QRSS3
    std::int32_t ids = 0; // start-ID speed

private:
    IdControls c_;
    settings::IniFile& settings_;
};

} // namespace tarvel::keyer
