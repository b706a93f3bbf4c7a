#include "ui/panels/OptionsPanel.h"

#include "freqplan/Limits.h"
#include "platform/Locale.h"
#include "ui/panels/FieldText.h"

#include <string>

namespace tarvel::ui::panels {

OptionsPanel::OptionsPanel(forms::MainForm& form, freqplan::FrequencyPlan& plan, freqplan::Options& options,
                           VfoAPanel& vfoA)
    : vfoAOffset_(form.EdFpA), vfoAFactor_(form.EdKdel), vfoBOffset_(form.EdFp), vfoBFactor_(form.EdRxKdel),
      correction_(form.Edit2), hiddenPanel_(form.Panel1), minHz_(form.EdminF), maxHz_(form.EdmaxF),
      plan_(plan), options_(options), vfoA_(vfoA) {
    correction_.onChange = [this] { plan_.setCorrection(decimalOf(correction_.text())); };
    vfoAFactor_.onChange = [this] { plan_.setVfoAFactor(integerOf(vfoAFactor_.text())); };
    vfoBFactor_.onChange = [this] { plan_.setVfoBFactor(integerOf(vfoBFactor_.text())); };
    vfoBOffset_.onChange = [this] { plan_.setVfoBOffset(integerOf(vfoBOffset_.text())); };
    vfoAOffset_.onChange = [this] { plan_.setVfoAOffset(integerOf(vfoAOffset_.text())); };
    form.Button2.onClick = [this] { applyTuningRange(); };
}

void OptionsPanel::showCorrection(double correction) {
    correction_.setText(platform::formatGeneral(correction));
}

void OptionsPanel::showVfoAFactor(std::int32_t factor) {
    vfoAFactor_.setText(std::to_string(factor));
}

void OptionsPanel::showVfoBFactor(std::int32_t factor) {
    vfoBFactor_.setText(std::to_string(factor));
}

void OptionsPanel::showVfoBOffset(std::int32_t hz) {
    vfoBOffset_.setText(std::to_string(hz));
}

void OptionsPanel::showVfoAOffset(std::int32_t hz) {
    vfoAOffset_.setText(std::to_string(hz));
}

void OptionsPanel::applyTuningRange() {
    const std::int32_t maxHz = integerOf(maxHz_.text());
    const std::int32_t minHz = integerOf(minHz_.text());
    // The bar refuses a range it cannot take; then nothing is stored.
    vfoA_.narrowTuningRange(minHz, maxHz);
    options_.setTuningRange(minHz, maxHz);
}

void OptionsPanel::restoreTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    if (options_.restoreTuningRange(minHz, maxHz)) {
        vfoA_.setTuningRange(minHz, maxHz);
        minHz_.setText(std::to_string(minHz));
        maxHz_.setText(std::to_string(maxHz));
    } else {
        vfoA_.setTuningRange(freqplan::limits::defaultTuningRangeHz.min,
                             freqplan::limits::defaultTuningRangeHz.max);
    }
}

void OptionsPanel::keyPressed(int key, bool alt) {
    if (key == 'X' && alt)
        hiddenPanel_.show();
}

} // namespace tarvel::ui::panels
