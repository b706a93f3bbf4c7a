#pragma once
// The calibration window as data: the sound card's clock measured against the system clock while the tone
// plays, each figure beside its caption, and "Apply", which puts the correction into "Correct Freq".
#include "ui/controls/Simple.h"
#include "ui/forms/Inventory.h"

namespace tarvel::ui::forms {

struct CalibrateForm : Inventory {
    CalibrateForm();

    static constexpr int kDesignWidth = 480;
    static constexpr int kDesignHeight = 212;
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 27;

    controls::Form TFormCalibrate{"TFormCalibrate", "Calibrate"};
    // Whether it measures, or what the operator does to make it.
    controls::Label LbCalState{"LbCalState", "Not playing: press Start to measure"};
    controls::Label LbCalDevice{"LbCalDevice", "Device:"};
    controls::Label LbCalDeviceValue{"LbCalDeviceValue", "-"};
    controls::Label LbCalKind{"LbCalKind", "Kind:"};
    controls::Label LbCalKindValue{"LbCalKindValue", "-"};
    controls::Label LbCalOffset{"LbCalOffset", "Clock offset:"};
    controls::Label LbCalOffsetValue{"LbCalOffsetValue", "-"};
    controls::Label LbCalUncertainty{"LbCalUncertainty", "Uncertainty:"};
    controls::Label LbCalUncertaintyValue{"LbCalUncertaintyValue", "-"};
    controls::Label LbCalTime{"LbCalTime", "Time measured:"};
    controls::Label LbCalTimeValue{"LbCalTimeValue", "-"};
    controls::Label LbCalSystemClock{"LbCalSystemClock", "System clock:"};
    controls::Label LbCalSystemClockValue{"LbCalSystemClockValue", "-"};
    controls::Label LbCalCorrection{"LbCalCorrection", "Correct Freq:"};
    controls::Label LbCalCorrectionValue{"LbCalCorrectionValue", "-"};
    controls::Button BtCalApply{"BtCalApply", "Apply"};
    controls::Button BtCalClose{"BtCalClose", "Close"};
};

} // namespace tarvel::ui::forms
