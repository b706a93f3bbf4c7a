#include "ui/panels/PresetsPanel.h"

#include "platform/Failure.h"
#include "ui/forms/MainForm.h"

#include <string>

namespace tarvel::ui::panels {
namespace {

// The speed buttons' plain captions.
constexpr std::array<const char*, keyer::Presets::kSpeedButtons> kCaptions{
    "1", "3", "10", "20", "30", "60", "90", "120", "3", "10", "20", "30", "60", "90", "120", "240"};

} // namespace

PresetsPanel::PresetsPanel(forms::MainForm& form, keyer::Presets& presets,
                           const keyer::Transmission& transmission)
    : modeLabel_(form.Lbmode), speedButtons_{&form.BtQRSS1,  &form.Button6,   &form.Btqrss10,
                                             &form.Btqrss20, &form.Btqrss30,  &form.Btqrss60,
                                             &form.Btqrss90, &form.Btqrss120, &form.BtDFCW3,
                                             &form.BtDFCW10, &form.Btdfcw20,  &form.Btdfcw30,
                                             &form.btDFCW60, &form.BtDFCW90,  &form.Btdfcw120,
                                             &form.Btdfcw240},
      customButton_(form.Btdfcw60i), customPopup_(form.PnBtdfcw), dot_(form.SpDot), dash_(form.SpDash),
      elementGap_(form.SpLp), letterGap_(form.SpBigp), shift_(form.SpShift), fskcwDot_(form.SpFskcw),
      presets_(presets), transmission_(transmission) {
    form.Button5.onClick = [this] { presets_.choose(0); };
    for (int i = 0; i < keyer::Presets::kSpeedButtons; ++i)
        speedButtons_[i]->onClick = [this, i] { presets_.choose(i + 1); };
    customButton_.onClick = [this] { customButtonClick(); };
    customButton_.onMouseDown = [this](controls::MouseButton b) { customButtonMouseDown(b); };
    form.Button9.onClick = [this] { customOkClick(); };
    form.BtFskcw.onClick = [this] { fskcwClick(); };
    for (controls::SpinField* field : {&dot_, &dash_, &elementGap_, &letterGap_, &shift_})
        field->onChange = [this] { readCustomMode(); };
    presets_.onChange.connect([this] { showMode(); });
    readCustomMode();
}

void PresetsPanel::showMode() {
    for (int i = 0; i < keyer::Presets::kSpeedButtons; ++i) {
        const std::string plain = kCaptions[i];
        speedButtons_[i]->setCaption(i + 1 == presets_.markedRow() ? ">" + plain + "<" : plain);
    }
    modeLabel_.setCaption(transmission_.mode().label);
}

void PresetsPanel::readCustomMode() {
    presets_.setCustomMode(
        {dot_.value(), dash_.value(), elementGap_.value(), letterGap_.value(), shift_.value()});
}

void PresetsPanel::showCustomValue(CustomField field, std::int32_t value) {
    controls::SpinField* const fields[] = {&dot_, &dash_, &elementGap_, &letterGap_, &shift_};
    fields[static_cast<int>(field)]->setValue(value);
}

void PresetsPanel::showCustomLabel() {
    customButton_.setCaption(presets_.customMode().label());
}

void PresetsPanel::customButtonMouseDown(controls::MouseButton button) {
    if (button != controls::MouseButton::Right)
        return;
    customPopup_.show();
    readCustomMode();
    presets_.applyCustomMode();
}

void PresetsPanel::customButtonClick() {
    readCustomMode();
    presets_.chooseCustomMode();
}

void PresetsPanel::customOkClick() {
    customPopup_.hide();
    showCustomLabel();
    presets_.saveCustomMode();
}

void PresetsPanel::fskcwClick() {
    const auto mode = keyer::Presets::fskcw(fskcwDot_.value());
    if (!mode)
        throw platform::Failure("FSKCW: a dot of " + std::to_string(fskcwDot_.value()) +
                                " s is not one of the QRSS speeds 1, 3, 10, 20, 30, 60, 90 and 120 s");
    customPopup_.hide();
    presets_.chooseMode(*mode);
}

} // namespace tarvel::ui::panels
