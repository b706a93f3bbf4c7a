#pragma once
// The keying mode buttons of the beacon panel with their ">…<" marks and the mode label, and the custom
// mode's button and pop-up. Called on the user-interface thread.
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "keyer/Presets.h"

#include <array>

namespace tarvel::ui::panels {

struct PresetsPanelControls {
    controls::Button& Button5; // CW
    controls::Label& Lbmode;
    // The speed buttons from left to right, QRSS row first.
    std::array<controls::Button*, keyer::Presets::kSpeedButtons> speedButtons;
    // Custom mode: its button and pop-up.
    controls::Button& Btdfcw60i;
    controls::Control& PnBtdfcw;
    controls::SpinField& SpDot;
    controls::SpinField& SpDash;
    controls::SpinField& SpLp;
    controls::SpinField& SpBigp;
    controls::SpinField& SpShift;
    controls::Button& Button9; // "Ok"
};

class PresetsPanel {
public:
    // Connects the controls; the custom mode takes what the spin fields show.
    PresetsPanel(PresetsPanelControls controls, keyer::Presets& presets,
                 const keyer::Transmission& transmission);

    // The custom button: a left click chooses the custom mode; a right press opens the pop-up and
    // applies the values without changing the display.
    void Btdfcw60iClick();
    void Btdfcw60iOnMouseDown(controls::MouseButton button);
    // The pop-up's "Ok": hidden, the custom button relabelled, the values stored.
    void Button9Click();

    // Start-up: the custom mode takes what the five spin fields show, and the custom button its label.
    void readCustomMode();
    void showCustomLabel();

private:
    void showMode();

    PresetsPanelControls c_;
    keyer::Presets& presets_;
    const keyer::Transmission& transmission_;
};

} // namespace tarvel::ui::panels
