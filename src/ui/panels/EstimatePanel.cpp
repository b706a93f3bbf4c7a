#include "ui/panels/EstimatePanel.h"

#include "ui/forms/MainForm.h"

namespace tarvel::ui::panels {

EstimatePanel::EstimatePanel(forms::MainForm& form, keyer::Transmission& transmission)
    : duration_(form.LbTTX), endTime_(form.LbTxEnd), startTime_(form.EdTtx), transmission_(transmission) {
    duration_.onClick = [this] { transmission_.refreshEstimate(); };
    transmission_.events.estimateChanged = [this] {
        const keyer::Estimate& estimate = transmission_.estimate();
        duration_.setCaption(estimate.duration);
        endTime_.setCaption(estimate.end);
        startTime_.setText(estimate.start);
    };
    transmission_.events.loopRestarted = [this](const std::string& start) { startTime_.setText(start); };
}

} // namespace tarvel::ui::panels
