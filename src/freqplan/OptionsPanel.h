#pragma once
// The options panel's own settings: the two check boxes that choose the compact layout, the VFO A tuning
// range, and the hidden panel that Alt+X shows.
#include "controls/CheckBox.h"
#include "controls/ScrollBar.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "settings/IniFile.h"

#include <cstdint>

namespace tarvel::freqplan {

struct OptionsPanelControls {
    controls::Control& Panel1;
    controls::CheckBox& ChBA;
    controls::CheckBox& ChBB;
    controls::TextField& EdminF;
    controls::TextField& EdmaxF;
    controls::ScrollBar& RFreqScrollBar1;
};

class OptionsPanel {
public:
    OptionsPanel(OptionsPanelControls controls, settings::IniFile& settings);

    void ChBAClick();
    void ChBBClick();
    void Button2Click(); // the tuning range "Ok"
    // The range restored at start-up from the stored limits; a stored range the bar cannot take (or none)
    // gives 22000 … 550000.
    void applyStoredRange(std::int32_t minF, std::int32_t maxF);
    // A key pressed while the window itself has the keyboard: Alt+X shows the hidden panel.
    void FormKeyDown(int key, bool alt);

    std::int32_t MinF = 0;
    std::int32_t MaxF = 0;

private:
    OptionsPanelControls c_;
    settings::IniFile& settings_;
};

} // namespace tarvel::freqplan
