#include "keyer/Presets.h"

#include <algorithm>
#include <utility>

namespace tarvel::keyer {
namespace {

struct PresetRow {
    const char* modeLabel;
    const char* caption; // the button's plain caption; empty for CW, which has no mark
    KeyingValues values; // TT, dashFactor, gapDivisor, letterGapFactor, dfcwShift, dfcwMode
};

// In CW and QRSS a dash is three dots on one frequency; in DFCW dots and dashes are equally long and the
// dot is sent dfcwShift lower.
constexpr std::array<PresetRow, Presets::kSpeedButtons + 1> kRows{{
    {" CW", "", {100, 3, 1, 3, 0, 0}},
    {"QRSS1", "1", {1000, 3, 1, 3, 0, 0}},
    {"QRSS3", "3", {3000, 3, 1, 3, 0, 0}},
    {"QRSS10", "10", {10000, 3, 1, 3, 0, 0}},
    {"QRSS20", "20", {20000, 3, 1, 3, 0, 0}},
    {"QRSS30", "30", {30000, 3, 1, 3, 0, 0}},
    {"QRSS60", "60", {60000, 3, 1, 3, 0, 0}},
    {"QRSS90", "90", {90000, 3, 1, 3, 0, 0}},
    {"QRSS120", "120", {120000, 3, 1, 3, 0, 0}},
    {"DFCW3", "3", {3000, 1, 3, 2, 200, 1}},
    {"DFCW10", "10", {10000, 1, 4, 2, 100, 1}},
    {"DFCW20", "20", {20000, 1, 4, 2, 70, 1}},
    {"DFCW30", "30", {30000, 1, 3, 2, 40, 1}},
    {"DFCW60", "60", {60000, 1, 2, 3, 20, 1}},
    {"DFCW90", "90", {90000, 1, 2, 2, 20, 1}},
    {"DFCW120", "120", {120000, 1, 2, 2, 20, 1}},
    {"DFCW240", "240", {240000, 1, 2, 2, 10, 1}},
}};

constexpr int kCustomRow = -1; // no speed button marked

std::int32_t inRange(const controls::SpinField& field, std::int32_t low, std::int32_t high) {
    return std::clamp<std::int32_t>(field.value(), low, high);
}

} // namespace

Presets::Presets(PresetControls controls, KeyerState& state, settings::IniFile& settings, PresetCalls calls)
    : c_(controls), state_(state), settings_(settings),
      calls_(std::move(calls)), speed_{&c_.BtQRSS1,  &c_.Button6,  &c_.Btqrss10,  &c_.Btqrss20,
                                       &c_.Btqrss30, &c_.Btqrss60, &c_.Btqrss90,  &c_.Btqrss120,
                                       &c_.BtDFCW3,  &c_.BtDFCW10, &c_.Btdfcw20,  &c_.Btdfcw30,
                                       &c_.btDFCW60, &c_.BtDFCW90, &c_.Btdfcw120, &c_.Btdfcw240} {
    c_.Button5.onClick = [this] { choose(0); };
    for (int i = 0; i < kSpeedButtons; ++i)
        speed_[i]->onClick = [this, i] { choose(i + 1); };
    c_.Btdfcw60i.onClick = [this] { Btdfcw60iClick(); };
    c_.Btdfcw60i.onMouseDown = [this](controls::MouseButton b) { Btdfcw60iOnMouseDown(b); };
    c_.Button9.onClick = [this] { Button9Click(); };
    c_.SpDot.onChange = [this] { SpDotChange(); };
    c_.SpDash.onChange = [this] { SpDashChange(); };
    c_.SpLp.onChange = [this] { SpLpChange(); };
    c_.SpBigp.onChange = [this] { SpBigpChange(); };
    c_.SpShift.onChange = [this] { SpShiftChange(); };
    readCustomMode();
}

void Presets::Button5Click() {
    choose(0);
}
void Presets::BtQRSS1Click() {
    choose(1);
}
void Presets::Button6Click() {
    choose(2);
}
void Presets::Btqrss10Click() {
    choose(3);
}
void Presets::Btqrss20Click() {
    choose(4);
}
void Presets::Btqrss30Click() {
    choose(5);
}
void Presets::Btqrss60Click() {
    choose(6);
}
void Presets::Btqrss90Click() {
    choose(7);
}
void Presets::Btqrss120Click() {
    choose(8);
}
void Presets::BtDFCW3Click() {
    choose(9);
}
void Presets::BtDFCW10Click() {
    choose(10);
}
void Presets::Btdfcw20Click() {
    choose(11);
}
void Presets::Btdfcw30Click() {
    choose(12);
}
void Presets::btDFCW60Click() {
    choose(13);
}
void Presets::BtDFCW90Click() {
    choose(14);
}
void Presets::Btdfcw120Click() {
    choose(15);
}
void Presets::Btdfcw240Click() {
    choose(16);
}

void Presets::markSpeedButton(int row) {
    for (int i = 0; i < kSpeedButtons; ++i) {
        const std::string plain = kRows[i + 1].caption;
        speed_[i]->setCaption(i + 1 == row ? ">" + plain + "<" : plain);
    }
}

// The sequencer reads the keying values at every step, so a change here takes effect from the next
// element of a running transmission; nothing is started or stopped.
void Presets::choose(int row) {
    markSpeedButton(row);
    c_.Lbmode.setCaption(kRows[row].modeLabel);
    state_.keying = kRows[row].values;
    if (calls_.estimate)
        calls_.estimate();
}

void Presets::SpDotChange() {
    custom_.Dot = inRange(c_.SpDot, CustomMode::kDotMin, CustomMode::kDotMax);
}
void Presets::SpDashChange() {
    custom_.Dash = inRange(c_.SpDash, CustomMode::kDashMin, CustomMode::kDashMax);
}
void Presets::SpLpChange() {
    custom_.pause = inRange(c_.SpLp, CustomMode::kPauseMin, CustomMode::kPauseMax);
}
void Presets::SpBigpChange() {
    custom_.Bpause = inRange(c_.SpBigp, CustomMode::kBpauseMin, CustomMode::kBpauseMax);
}
void Presets::SpShiftChange() {
    custom_.shiftFr = inRange(c_.SpShift, CustomMode::kShiftMin, CustomMode::kShiftMax);
}

void Presets::readCustomMode() {
    SpDotChange();
    SpDashChange();
    SpLpChange();
    SpBigpChange();
    SpShiftChange();
}

void Presets::showCustomLabel() {
    c_.Btdfcw60i.setCaption(custom_.label());
}

// Always DFCW handling, also without a shift: the sequencer then retunes by 0.
void Presets::applyCustomMode() {
    state_.keying = {custom_.Dot * 1000, custom_.Dash, custom_.pause, custom_.Bpause, custom_.shiftFr, 1};
}

void Presets::Btdfcw60iOnMouseDown(controls::MouseButton button) {
    if (button != controls::MouseButton::Right)
        return;
    c_.PnBtdfcw.show();
    readCustomMode();
    applyCustomMode();
}

void Presets::Btdfcw60iClick() {
    readCustomMode();
    applyCustomMode();
    markSpeedButton(kCustomRow);
    c_.Lbmode.setCaption(custom_.label());
    knR();
}

void Presets::knR() {
    applyCustomMode();
    if (calls_.estimate)
        calls_.estimate();
}

// Stores and relabels only; the keying values change at the next press on the custom button.
void Presets::Button9Click() {
    c_.PnBtdfcw.hide();
    showCustomLabel();
    settings_.writeInteger("Dot", custom_.Dot);
    settings_.writeInteger("Dash", custom_.Dash);
    settings_.writeInteger("pause", custom_.pause);
    settings_.writeInteger("Bpause", custom_.Bpause);
    settings_.writeInteger("shiftFr", custom_.shiftFr);
}

} // namespace tarvel::keyer
