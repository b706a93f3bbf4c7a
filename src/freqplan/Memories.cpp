#include "freqplan/Memories.h"

#include "platform/Locale.h"

#include <string>

namespace tarvel::freqplan {

Memories::Memories(MemoriesControls controls, const FrequencyPlan& plan, settings::IniFile& settings)
    : c_(controls), plan_(plan), settings_(settings) {
    for (int k = 1; k <= 4; ++k) {
        c_.BtF[k - 1]->onClick = [this, k] { recall(k); };
        c_.BtFw[k - 1]->onClick = [this, k] { store(k); };
    }
    for (int j = 1; j <= 14; ++j) {
        c_.Bt[j - 1]->onMouseDown = [this, j](controls::MouseButton b) { keypadMouseDown(j, b); };
        c_.Bt[j - 1]->onClick = [this, j] { keypadClick(j); };
    }
}

std::string Memories::keypadCaption(std::int32_t hz) {
    return platform::formatGeneral(hz / 1000.0);
}

void Memories::store(int k) {
    if (k < 1 || k > kCount)
        return;
    const auto i = static_cast<std::size_t>(k - 1);
    coarse_[i] = plan_.lastCoarse;
    fine_[i] = plan_.lastFine;
    const std::string n = std::to_string(k);
    settings_.writeInteger("freq" + n, coarse_[i]);
    settings_.writeInteger("01x" + n, fine_[i]);
    if (k <= 4)
        c_.BtF[i]->setCaption(std::to_string(coarse_[i]));
    else
        c_.Bt[i - 4]->setCaption(keypadCaption(c_.seRfreq.value()));
}

void Memories::recall(int k) {
    if (k < 1 || k > kCount)
        return;
    const auto i = static_cast<std::size_t>(k - 1);
    const std::string n = std::to_string(k);
    // The file is the authority: a fine value stored in an earlier run comes back too.
    c_.seRfreq.setValue(settings_.readInteger("freq" + n, coarse_[i]));
    c_.fineRfr.setValue(settings_.readInteger("01x" + n, fine_[i]));
    c_.Edit1.setFocus();
}

void Memories::BtKnFClick() {
    c_.TForm3.show();
    for (int j = 1; j <= 14; ++j)
        c_.Bt[j - 1]->setCaption(keypadCaption(coarse(j + 4)));
}

void Memories::keypadMouseDown(int j, controls::MouseButton button) {
    if (button == controls::MouseButton::Right)
        store(j + 4);
}

void Memories::keypadClick(int j) {
    recall(j + 4);
}

void Memories::FormShortCut(int functionKey) {
    if (functionKey >= 1 && functionKey <= 4)
        store(functionKey);
    else if (functionKey == 8)
        c_.fineRfr.setValue(c_.fineRfr.value() - 5);
    else if (functionKey == 9)
        c_.fineRfr.setValue(c_.fineRfr.value() + 5);
}

void Memories::loadCoarse(int k, std::int32_t value) {
    if (k < 1 || k > kCount)
        return;
    coarse_[static_cast<std::size_t>(k - 1)] = value;
    if (k <= 4)
        c_.BtF[static_cast<std::size_t>(k - 1)]->setCaption(std::to_string(value));
}

} // namespace tarvel::freqplan
