#pragma once
// The beacon panel's time displays: expected duration, start time and end time of the sequence in Ed3
// with the keying values and identification speeds in force. Called on the user-interface thread.
#include "controls/RadioButton.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "keyer/KeyerState.h"
#include "platform/Clock.h"

namespace tarvel::keyer {

struct EstimateControls {
    controls::TextField& Ed3;
    controls::Label& LbTTX;     // duration "hh:mm:ss"; a click recomputes
    controls::Label& LbTxEnd;   // end time of day
    controls::TextField& EdTtx; // start time of day
    controls::RadioButton& RBtCW;
    controls::RadioButton& RBtQrss3;
    controls::RadioButton& RBtCWs;
    controls::RadioButton& RBtQrss3s;
};

class EstimateDisplay {
public:
    // Connects the click on LbTTX.
    EstimateDisplay(EstimateControls controls, const KeyerState& state, const platform::Clock& clock);

    // The expected duration, start and end of the sequence in Ed3 at the present keying values; also
    // the click on LbTTX.
    void refreshEstimate();

private:
    EstimateControls c_;
    const KeyerState& state_;
    const platform::Clock& clock_;
};

} // namespace tarvel::keyer
