#pragma once
// The options panel bound to the frequency plan's factors and the options: the correction, factor and
// offset fields, VFO A's tuning range, and the hidden panel that Alt+X shows. The fields' texts are read
// here; a text that is no number is reported with the value kept. Called on the user-interface thread.
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Options.h"
#include "ui/controls/Simple.h"
#include "ui/controls/TextField.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/VfoPanels.h"

#include <cstdint>

namespace tarvel::ui::panels {

class OptionsPanel {
public:
    OptionsPanel(forms::MainForm& form, freqplan::FrequencyPlan& plan, freqplan::Options& options,
                 VfoAPanel& vfoA);

    // Start-up: the stored values shown in their fields, each running the field's handler.
    void showCorrection(double correction);
    void showVfoAFactor(std::int32_t factor);
    void showVfoBFactor(std::int32_t factor);
    void showVfoBOffset(std::int32_t hz);
    void showVfoAOffset(std::int32_t hz);
    // The tuning range's "Ok": the limits typed, taken by VFO A's bar and stored.
    void applyTuningRange();
    // The range restored at start-up from the stored limits, both in one step so that a stored range below
    // the designed minimum is taken as it is; one the options refuse gives the default range.
    void restoreTuningRange(std::int32_t minHz, std::int32_t maxHz);
    // A key pressed while the window itself has the keyboard: Alt+X shows the hidden panel.
    void keyPressed(int key, bool alt);

private:
    controls::TextField& vfoAOffset_;
    controls::TextField& vfoAFactor_;
    controls::TextField& vfoBOffset_;
    controls::TextField& vfoBFactor_;
    controls::TextField& correction_;
    controls::Control& hiddenPanel_;
    controls::TextField& minHz_;
    controls::TextField& maxHz_;
    freqplan::FrequencyPlan& plan_;
    freqplan::Options& options_;
    VfoAPanel& vfoA_;
};

} // namespace tarvel::ui::panels
