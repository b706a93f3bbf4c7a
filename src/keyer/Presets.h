#pragma once
// The keying mode presets of the beacon panel (CW, QRSS, DFCW and the custom mode with its pop-up) and the
// "QRSS/DFCW" view. A preset only sets the keying values, the mode label, the button marks and the
// estimate; it never starts, stops or times anything. Called on the user-interface thread.
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "keyer/CustomMode.h"
#include "keyer/KeyerState.h"
#include "platform/MessageSink.h"
#include "settings/IniFile.h"

#include <array>
#include <functional>
#include <string>

namespace tarvel::keyer {

struct PresetControls {
    controls::Button& Button5; // CW
    controls::Label& Lbmode;
    // QRSS row.
    controls::Button& BtQRSS1;
    controls::Button& Button6;
    controls::Button& Btqrss10;
    controls::Button& Btqrss20;
    controls::Button& Btqrss30;
    controls::Button& Btqrss60;
    controls::Button& Btqrss90;
    controls::Button& Btqrss120;
    // DFCW row.
    controls::Button& BtDFCW3;
    controls::Button& BtDFCW10;
    controls::Button& Btdfcw20;
    controls::Button& Btdfcw30;
    controls::Button& btDFCW60;
    controls::Button& BtDFCW90;
    controls::Button& Btdfcw120;
    controls::Button& Btdfcw240;
    // Custom mode: its button and pop-up.
    controls::Button& Btdfcw60i;
    controls::Control& PnBtdfcw;
    controls::SpinField& SpDot;
    controls::SpinField& SpDash;
    controls::SpinField& SpLp;
    controls::SpinField& SpBigp;
    controls::SpinField& SpShift;
    controls::Button& Button9; // "Ok"
    // The beacon view.
};

// What the presets call in the rest of the keyer.
struct PresetCalls {
    std::function<void()> estimate; // refreshes the transmission time estimate
};

class Presets {
public:
    // Connects the handlers to the controls' events and takes the custom mode from the spin fields.
    Presets(PresetControls controls, KeyerState& state, settings::IniFile& settings, PresetCalls calls);

    void Button5Click(); // CW
    void BtQRSS1Click();
    void Button6Click(); // QRSS3
    void Btqrss10Click();
    void Btqrss20Click();
    void Btqrss30Click();
    void Btqrss60Click();
    void Btqrss90Click();
    void Btqrss120Click();
    void BtDFCW3Click();
    void BtDFCW10Click();
    void Btdfcw20Click();
    void Btdfcw30Click();
    void btDFCW60Click();
    void BtDFCW90Click();
    void Btdfcw120Click();
    void Btdfcw240Click();

    // Custom mode: the left click, any press (acts on the right button only), the apply-and-estimate
    // step, the pop-up's "Ok" and its spin fields' change handlers.
    void Btdfcw60iClick();
    void Btdfcw60iOnMouseDown(controls::MouseButton button);
    void knR();
    void Button9Click();
    void SpDotChange();
    void SpDashChange();
    void SpLpChange();
    void SpBigpChange();
    void SpShiftChange();

    // Start-up: the custom mode takes what the five spin fields show, and the custom button its label.
    void readCustomMode();
    void showCustomLabel();
    const CustomMode& customMode() const { return custom_; }

    static constexpr int kSpeedButtons = 16;

private:
    // row 0 is CW, rows 1 to 16 the speed buttons from left to right, QRSS row first.
    void choose(int row);
    void markSpeedButton(int row);
    void applyCustomMode();

    PresetControls c_;
    KeyerState& state_;
    settings::IniFile& settings_;
    PresetCalls calls_;
    CustomMode custom_;
    std::array<controls::Button*, kSpeedButtons> speed_;
};

} // namespace tarvel::keyer
