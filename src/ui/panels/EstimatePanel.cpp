#include "ui/panels/EstimatePanel.h"

#include "platform/Locale.h"
#include "ui/forms/MainForm.h"

namespace tarvel::ui::panels {

EstimatePanel::EstimatePanel(forms::MainForm& form, keyer::Transmission& transmission)
    : duration_(form.LbTTX), endTime_(form.LbTxEnd), startTime_(form.EdTtx), transmission_(transmission) {
    duration_.onClick = [this] { transmission_.refreshEstimate(); };
    transmission_.notices.estimateChanged.connect([this] {
        const keyer::Estimate& estimate = transmission_.estimate();
        duration_.setCaption(estimate.duration);
        endTime_.setCaption(estimate.end);
        startTime_.setText(estimate.start);
    });
    transmission_.notices.loopRestarted.connect(
        [this](const platform::LocalTime& start) { startTime_.setText(platform::formatLongTime(start)); });
}

} // namespace tarvel::ui::panels
