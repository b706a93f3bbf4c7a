#include "freqplan/OptionsPanel.h"

#include "freqplan/FieldText.h"

#include <string>

namespace tarvel::freqplan {

OptionsPanel::OptionsPanel(OptionsPanelControls controls, settings::IniFile& settings)
    : c_(controls), settings_(settings) {
    c_.ChBA.onClick = [this] { ChBAClick(); };
    c_.ChBB.onClick = [this] { ChBBClick(); };
}

void OptionsPanel::ChBAClick() {
    settings_.writeInteger("VA", c_.ChBA.checked() ? 1 : 0);
}

void OptionsPanel::ChBBClick() {
    settings_.writeInteger("VB", c_.ChBB.checked() ? 1 : 0);
}

void OptionsPanel::Button2Click() {
    MaxF = integerOf(c_.EdmaxF.text());
    MinF = integerOf(c_.EdminF.text());
    c_.RFreqScrollBar1.setMax(MaxF);
    c_.RFreqScrollBar1.setMin(MinF);
    settings_.writeInteger("MinF", MinF);
    settings_.writeInteger("MaxF", MaxF);
}

void OptionsPanel::applyStoredRange(std::int32_t minF, std::int32_t maxF) {
    MinF = minF;
    MaxF = maxF;
    // Both limits in one step, so a stored range below the designed minimum is taken as it is.
    if (maxF > 22000 && minF <= maxF) {
        c_.RFreqScrollBar1.setRange(minF, maxF);
        c_.EdminF.setText(std::to_string(minF));
        c_.EdmaxF.setText(std::to_string(maxF));
    } else {
        c_.RFreqScrollBar1.setRange(22000, 550000);
    }
}

void OptionsPanel::FormKeyDown(int key, bool alt) {
    if (key == 'X' && alt)
        c_.Panel1.show();
}

} // namespace tarvel::freqplan
