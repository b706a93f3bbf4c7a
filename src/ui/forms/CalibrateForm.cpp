#include "ui/forms/CalibrateForm.h"

#include <array>
#include <utility>

namespace tarvel::ui::forms {

CalibrateForm::CalibrateForm() {
    addWindow(TFormCalibrate, kDesignWidth + kFrameWidth, kDesignHeight + kFrameHeight);
    TFormCalibrate.setFrame(kFrameWidth, kFrameHeight);
    styles[TFormCalibrate].popUp = true;
    styles[TFormCalibrate].fixedSize = true;

    add(LbCalState, TFormCalibrate, 8, 8, 464, 13);
    styles[LbCalState].bold = true;
    // Each figure on its own row, the caption to the left; a screen reader reads the figure with what it
    // is, as its caption changes.
    const std::array<std::pair<controls::Label*, controls::Label*>, 7> rows{{
        {&LbCalDevice, &LbCalDeviceValue},
        {&LbCalKind, &LbCalKindValue},
        {&LbCalOffset, &LbCalOffsetValue},
        {&LbCalUncertainty, &LbCalUncertaintyValue},
        {&LbCalTime, &LbCalTimeValue},
        {&LbCalSystemClock, &LbCalSystemClockValue},
        {&LbCalCorrection, &LbCalCorrectionValue},
    }};
    const std::array<const char*, 7> names{"Sound device measured",
                                           "Kind of sound device",
                                           "Sound card clock offset, ppm",
                                           "Uncertainty of the offset",
                                           "Time measured",
                                           "System clock synchronisation",
                                           "Correct Freq that cancels the offset"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int top = 32 + 20 * static_cast<int>(i);
        add(*rows[i].first, TFormCalibrate, 8, top, 100, 13);
        add(*rows[i].second, TFormCalibrate, 112, top, 360, 13);
        rows[i].second->setAccessibleName(names[i]);
    }
    add(BtCalApply, TFormCalibrate, 8, 180, 75, 25);
    BtCalApply.setAccessibleName("Apply the correction to Correct Freq");
    add(BtCalClose, TFormCalibrate, 397, 180, 75, 25);
}

} // namespace tarvel::ui::forms
