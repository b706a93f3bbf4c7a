#pragma once
// The beacon panel's time displays: expected duration, start time and end time of the transmission; a
// click on the duration recomputes it. Called on the user-interface thread.
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "keyer/Transmission.h"

namespace tarvel::ui::panels {

struct EstimatePanelControls {
    controls::Label& LbTTX;     // duration "hh:mm:ss"
    controls::Label& LbTxEnd;   // end time of day
    controls::TextField& EdTtx; // start time of day, also of each new pass of a loop
};

class EstimatePanel {
public:
    EstimatePanel(EstimatePanelControls controls, keyer::Transmission& transmission);

private:
    EstimatePanelControls c_;
    keyer::Transmission& transmission_;
};

} // namespace tarvel::ui::panels
