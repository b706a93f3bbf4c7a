#pragma once
// The beacon panel's time displays: expected duration, start time and end time of the transmission; a
// click on the duration recomputes it. Called on the user-interface thread.
#include "keyer/Transmission.h"
#include "ui/controls/Simple.h"
#include "ui/controls/TextField.h"

namespace tarvel::ui::forms {
struct MainForm;
}

namespace tarvel::ui::panels {

class EstimatePanel {
public:
    EstimatePanel(forms::MainForm& form, keyer::Transmission& transmission);

private:
    controls::Label& duration_;      // "hh:mm:ss"
    controls::Label& endTime_;       // time of day
    controls::TextField& startTime_; // time of day, also of each new pass of a loop
    keyer::Transmission& transmission_;
};

} // namespace tarvel::ui::panels
