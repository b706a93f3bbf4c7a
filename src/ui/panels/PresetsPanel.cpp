#include "ui/panels/PresetsPanel.h"

#include <string>

namespace tarvel::ui::panels {
namespace {

// The speed buttons' plain captions.
constexpr std::array<const char*, keyer::Presets::kSpeedButtons> kCaptions{
    "1", "3", "10", "20", "30", "60", "90", "120", "3", "10", "20", "30", "60", "90", "120", "240"};

} // namespace

PresetsPanel::PresetsPanel(PresetsPanelControls controls, keyer::Presets& presets,
                           const keyer::Transmission& transmission)
    : c_(controls), presets_(presets), transmission_(transmission) {
    c_.Button5.onClick = [this] { presets_.choose(0); };
    for (int i = 0; i < keyer::Presets::kSpeedButtons; ++i)
        c_.speedButtons[i]->onClick = [this, i] { presets_.choose(i + 1); };
    c_.Btdfcw60i.onClick = [this] { Btdfcw60iClick(); };
    c_.Btdfcw60i.onMouseDown = [this](controls::MouseButton b) { Btdfcw60iOnMouseDown(b); };
    c_.Button9.onClick = [this] { Button9Click(); };
    for (controls::SpinField* field : {&c_.SpDot, &c_.SpDash, &c_.SpLp, &c_.SpBigp, &c_.SpShift})
        field->onChange = [this] { readCustomMode(); };
    presets_.onChange = [this] { showMode(); };
    readCustomMode();
}

void PresetsPanel::showMode() {
    for (int i = 0; i < keyer::Presets::kSpeedButtons; ++i) {
        const std::string plain = kCaptions[i];
        c_.speedButtons[i]->setCaption(i + 1 == presets_.markedRow() ? ">" + plain + "<" : plain);
    }
    c_.Lbmode.setCaption(transmission_.mode().label);
}

void PresetsPanel::readCustomMode() {
    presets_.setCustomMode(
        {c_.SpDot.value(), c_.SpDash.value(), c_.SpLp.value(), c_.SpBigp.value(), c_.SpShift.value()});
}

void PresetsPanel::showCustomLabel() {
    c_.Btdfcw60i.setCaption(presets_.customMode().label());
}

void PresetsPanel::Btdfcw60iOnMouseDown(controls::MouseButton button) {
    if (button != controls::MouseButton::Right)
        return;
    c_.PnBtdfcw.show();
    readCustomMode();
    presets_.applyCustomMode();
}

void PresetsPanel::Btdfcw60iClick() {
    readCustomMode();
    presets_.chooseCustomMode();
}

void PresetsPanel::Button9Click() {
    c_.PnBtdfcw.hide();
    showCustomLabel();
    presets_.saveCustomMode();
}

} // namespace tarvel::ui::panels
