#include "ui/panels/OptionsPanel.h"

#include "ui/panels/FieldText.h"

#include <string>

namespace tarvel::ui::panels {

OptionsPanel::OptionsPanel(OptionsControls controls, freqplan::FrequencyPlan& plan,
                           freqplan::Options& options)
    : c_(controls), plan_(plan), options_(options) {
    c_.Edit2.onChange = [this] { Edit2Change(); };
    c_.EdKdel.onChange = [this] { EdKdelChange(); };
    c_.EdRxKdel.onChange = [this] { EdRxKdelChange(); };
    c_.EdFp.onChange = [this] { EdFpChange(); };
    c_.EdFpA.onChange = [this] { EdFpAChange(); };
    c_.ChBA.onClick = [this] { ChBAClick(); };
    c_.ChBB.onClick = [this] { ChBBClick(); };
    c_.Button2.onClick = [this] { Button2Click(); };
}

void OptionsPanel::Edit2Change() {
    plan_.setCorrection(decimalOf(c_.Edit2.text()));
}

void OptionsPanel::EdKdelChange() {
    plan_.setVfoAFactor(integerOf(c_.EdKdel.text()));
}

void OptionsPanel::EdRxKdelChange() {
    plan_.setVfoBFactor(integerOf(c_.EdRxKdel.text()));
}

void OptionsPanel::EdFpChange() {
    plan_.setVfoBOffset(integerOf(c_.EdFp.text()));
}

void OptionsPanel::EdFpAChange() {
    plan_.setVfoAOffset(integerOf(c_.EdFpA.text()));
}

void OptionsPanel::ChBAClick() {
    options_.setCompactVfoA(c_.ChBA.checked());
}

void OptionsPanel::ChBBClick() {
    options_.setCompactVfoB(c_.ChBB.checked());
}

void OptionsPanel::Button2Click() {
    const std::int32_t maxHz = integerOf(c_.EdmaxF.text());
    const std::int32_t minHz = integerOf(c_.EdminF.text());
    // The bar refuses a range it cannot take; then nothing is stored.
    c_.RFreqScrollBar1.setMax(maxHz);
    c_.RFreqScrollBar1.setMin(minHz);
    options_.setTuningRange(minHz, maxHz);
}

void OptionsPanel::restoreTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    if (options_.restoreTuningRange(minHz, maxHz)) {
        c_.RFreqScrollBar1.setRange(minHz, maxHz);
        c_.EdminF.setText(std::to_string(minHz));
        c_.EdmaxF.setText(std::to_string(maxHz));
    } else {
        c_.RFreqScrollBar1.setRange(22000, 550000);
    }
}

void OptionsPanel::FormKeyDown(int key, bool alt) {
    if (key == 'X' && alt)
        c_.Panel1.show();
}

} // namespace tarvel::ui::panels
