#pragma once
// The keying mode buttons of the beacon panel with their ">…<" marks and the mode label, and the custom
// mode's button and pop-up. Called on the user-interface thread.
#include "keyer/Presets.h"
#include "ui/controls/Simple.h"
#include "ui/controls/SpinField.h"

#include <array>

namespace tarvel::ui::forms {
struct MainForm;
}

namespace tarvel::ui::panels {

class PresetsPanel {
public:
    // Connects the controls; the custom mode takes what the spin fields show.
    PresetsPanel(forms::MainForm& form, keyer::Presets& presets, const keyer::Transmission& transmission);

    // Start-up: the custom mode takes what the five spin fields show, and the custom button its label.
    void readCustomMode();
    void showCustomLabel();
    // Start-up: a stored custom value into its spin field, whose change handler passes it on.
    enum class CustomField { Dot, Dash, ElementGap, LetterGap, Shift };
    void showCustomValue(CustomField field, std::int32_t value);

private:
    void showMode();
    // The custom button: a left click chooses the custom mode; a right press opens the pop-up and
    // applies the values without changing the display.
    void customButtonClick();
    void customButtonMouseDown(controls::MouseButton button);
    // The pop-up's "Ok": hidden, the custom button relabelled, the values stored.
    void customOkClick();
    // The pop-up's "FSKCW": FSKCW at the speed field's dot, which must be one of the QRSS row's.
    void fskcwClick();

    controls::Label& modeLabel_;
    // The speed buttons from left to right, QRSS row first.
    std::array<controls::Button*, keyer::Presets::kSpeedButtons> speedButtons_;
    controls::Button& customButton_;
    controls::Control& customPopup_;
    controls::SpinField& dot_;
    controls::SpinField& dash_;
    controls::SpinField& elementGap_;
    controls::SpinField& letterGap_;
    controls::SpinField& shift_;
    controls::SpinField& fskcwDot_;
    keyer::Presets& presets_;
    const keyer::Transmission& transmission_;
};

} // namespace tarvel::ui::panels
