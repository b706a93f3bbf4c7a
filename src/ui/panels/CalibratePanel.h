#pragma once
// The calibration window bound to the station's clock measurement: what it measures while the tone plays,
// refreshed on the status tick while the window shows, and "Apply", which types the correction into
// "Correct Freq" as the operator would and records the offset it cancels. Called on the user-interface
// thread.
#include "audio/ClockMeasurement.h"
#include "freqplan/FrequencyPlan.h"
#include "platform/ClockDiscipline.h"
#include "ui/forms/CalibrateForm.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/OptionsPanel.h"

namespace tarvel::ui::panels {

class CalibratePanel {
public:
    CalibratePanel(forms::MainForm& form, forms::CalibrateForm& window, audio::ClockMeasurement& measurement,
                   const freqplan::FrequencyPlan& plan, OptionsPanel& options,
                   const platform::ClockDiscipline& discipline);

    // The status tick: the pairs played since the last one are taken whether or not the window shows, so
    // that it opens on the whole run; the figures are shown while it does.
    void tick();

private:
    void showFigures();
    void apply();

    forms::CalibrateForm& window_;
    audio::ClockMeasurement& measurement_;
    const freqplan::FrequencyPlan& plan_;
    OptionsPanel& options_;
    const platform::ClockDiscipline& discipline_;
    audio::ClockEstimate shown_; // what the figures show, which Apply applies
};

} // namespace tarvel::ui::panels
