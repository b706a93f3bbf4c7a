#include "ui/panels/MemoriesPanel.h"

#include "platform/Locale.h"

#include <string>

namespace tarvel::ui::panels {
namespace {

std::string keypadCaption(std::int32_t hz) {
    return platform::formatGeneral(hz / 1000.0);
}

} // namespace

MemoriesPanel::MemoriesPanel(forms::MainForm& form, forms::KeypadForm& keypad, freqplan::Memories& memories,
                             const freqplan::FrequencyPlan& plan, VfoAPanel& vfoA)
    : keyboardBox_(form.Edit1), recallButtons_{&form.BtF1, &form.BtF2, &form.BtF3, &form.BtF4},
      keypadWindow_(keypad.TForm3), keypadButtons_(keypad.buttons), memories_(memories), plan_(plan),
      vfoA_(vfoA) {
    const std::array<controls::Button*, 4> storeButtons{&form.BtF1w, &form.BtF2w, &form.BtF3w, &form.BtF4w};
    for (int k = 1; k <= 4; ++k) {
        recallButtons_[k - 1]->onClick = [this, k] { recall(k); };
        storeButtons[k - 1]->onClick = [this, k] { store(k); };
    }
    for (int j = 1; j <= 14; ++j) {
        keypadButtons_[j - 1]->onMouseDown = [this, j](controls::MouseButton b) { keypadMouseDown(j, b); };
        keypadButtons_[j - 1]->onClick = [this, j] { keypadClick(j); };
    }
    form.BtKnF.onClick = [this] { showKeypad(); };
}

void MemoriesPanel::store(int k) {
    if (k < 1 || k > freqplan::Memories::kCount)
        return;
    memories_.store(k);
    const auto i = static_cast<std::size_t>(k - 1);
    if (k <= 4)
        recallButtons_[i]->setCaption(std::to_string(memories_.coarse(k)));
    else // the keypad shows the coarse field as it stands, even where the last retune failed
        keypadButtons_[i - 4]->setCaption(keypadCaption(plan_.vfoACoarseHz()));
}

void MemoriesPanel::recall(int k) {
    if (k < 1 || k > freqplan::Memories::kCount)
        return;
    vfoA_.tuneTo(memories_.recalled(k));
    keyboardBox_.setFocus();
}

void MemoriesPanel::showKeypad() {
    keypadWindow_.show();
    for (int j = 1; j <= 14; ++j)
        keypadButtons_[j - 1]->setCaption(keypadCaption(memories_.coarse(j + 4)));
}

void MemoriesPanel::keypadMouseDown(int j, controls::MouseButton button) {
    if (button == controls::MouseButton::Right)
        store(j + 4);
}

void MemoriesPanel::keypadClick(int j) {
    recall(j + 4);
}

void MemoriesPanel::functionKeyPressed(int functionKey) {
    if (functionKey >= 1 && functionKey <= 4)
        store(functionKey);
    else if (functionKey == 8)
        vfoA_.stepFine(-5);
    else if (functionKey == 9)
        vfoA_.stepFine(5);
}

void MemoriesPanel::showCaptions() {
    for (int k = 1; k <= 4; ++k)
        recallButtons_[static_cast<std::size_t>(k - 1)]->setCaption(std::to_string(memories_.coarse(k)));
}

void MemoriesPanel::takeKeyboard() {
    keyboardBox_.setFocus();
}

} // namespace tarvel::ui::panels
