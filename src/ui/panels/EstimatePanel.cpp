#include "ui/panels/EstimatePanel.h"

namespace tarvel::ui::panels {

EstimatePanel::EstimatePanel(EstimatePanelControls controls, keyer::Transmission& transmission)
    : c_(controls), transmission_(transmission) {
    c_.LbTTX.onClick = [this] { transmission_.refreshEstimate(); };
    transmission_.events.estimateChanged = [this] {
        const keyer::Estimate& estimate = transmission_.estimate();
        c_.LbTTX.setCaption(estimate.duration);
        c_.LbTxEnd.setCaption(estimate.end);
        c_.EdTtx.setText(estimate.start);
    };
    transmission_.events.loopRestarted = [this](const std::string& start) { c_.EdTtx.setText(start); };
}

} // namespace tarvel::ui::panels
