#include "keyer/EstimateDisplay.h"

#include "keyer/TransmissionEstimate.h"
#include "platform/Locale.h"

namespace tarvel::keyer {

EstimateDisplay::EstimateDisplay(EstimateControls controls, const KeyerState& state,
                                 const platform::Clock& clock)
    : c_(controls), state_(state), clock_(clock) {
    c_.LbTTX.onClick = [this] { refreshEstimate(); };
}

void EstimateDisplay::refreshEstimate() {
    const IdSpeeds speeds{c_.RBtCW.checked(), c_.RBtQrss3.checked(), c_.RBtCWs.checked(),
                          c_.RBtQrss3s.checked()};
    const double total = EstimateMilliseconds(c_.Ed3.text(), state_.keying, speeds);
    c_.LbTTX.setCaption(FormatDuration(total));
    // One reading of the clock, so the end time is the start time plus exactly the duration shown.
    const platform::LocalTime now = clock_.now();
    c_.LbTxEnd.setCaption(FormatEndTime(now, total));
    c_.EdTtx.setText(platform::formatLongTime(now));
}

} // namespace tarvel::keyer
