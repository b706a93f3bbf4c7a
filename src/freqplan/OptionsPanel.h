#pragma once
// The options panel and the window layouts it switches between, the compact layouts chosen by the two
// VFO check boxes, and the VFO A tuning range.
#include "controls/CheckBox.h"
#include "controls/ScrollBar.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "settings/IniFile.h"

#include <cstdint>

namespace tarvel::freqplan {

struct OptionsPanelControls {
    controls::Form& TForm1;
    controls::Control& GroupBox2; // VFO A
    controls::Control& GroupBox1; // VFO B
    controls::Control& PnBt;
    controls::Control& PnCh;
    controls::Control& PnOption;
    controls::Control& GroupBox4;
    controls::Control& Panel3;
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

    void Options2Click(); // the wide layout with the options panel
    void Button1Click();  // "X": the compact layout
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
