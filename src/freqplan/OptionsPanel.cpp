#include "freqplan/OptionsPanel.h"

#include "freqplan/FieldText.h"

#include <string>

namespace tarvel::freqplan {

OptionsPanel::OptionsPanel(OptionsPanelControls controls, settings::IniFile& settings)
    : c_(controls), settings_(settings) {
    c_.ChBA.onClick = [this] { ChBAClick(); };
    c_.ChBB.onClick = [this] { ChBBClick(); };
}

void OptionsPanel::Options2Click() {
    c_.PnCh.show();
    c_.TForm1.setWidth(590);
    c_.PnOption.show();
    c_.GroupBox4.show();
    c_.TForm1.setHeight(374);
    c_.GroupBox1.setTop(216);
    c_.PnBt.setTop(280);
    c_.GroupBox1.show();
    c_.GroupBox2.show();
    c_.Panel3.hide();
}

void OptionsPanel::Button1Click() {
    c_.PnOption.hide();
    c_.GroupBox4.hide();
    c_.TForm1.setWidth(332);
    c_.GroupBox2.setVisible(c_.ChBA.checked());
    c_.GroupBox1.setTop(16);
    c_.PnBt.setTop(80);
    c_.TForm1.setHeight(170);
    if (c_.ChBB.checked()) {
        c_.GroupBox1.show();
    } else {
        c_.GroupBox1.hide();
        c_.TForm1.setHeight(320);
        c_.PnBt.setTop(216);
    }
    if (c_.ChBA.checked() == c_.ChBB.checked()) {
        c_.GroupBox1.show();
        c_.GroupBox2.show();
        c_.TForm1.setHeight(374);
        c_.GroupBox2.setTop(16);
        c_.GroupBox1.setTop(216);
        c_.PnBt.setTop(280);
    }
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
