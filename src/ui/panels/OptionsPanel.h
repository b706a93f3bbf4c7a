#pragma once
// The options panel bound to the frequency plan's factors and the options: the correction, factor and
// offset fields, the two check boxes that choose the compact layout, VFO A's tuning range, and the hidden
// panel that Alt+X shows. The fields' texts are read here; a text that is no number is reported with the
// value kept. Called on the user-interface thread.
#include "controls/CheckBox.h"
#include "controls/ScrollBar.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Options.h"

#include <cstdint>

namespace tarvel::ui::panels {

struct OptionsControls {
    controls::TextField& EdFpA;
    controls::TextField& EdKdel;
    controls::TextField& EdFp;
    controls::TextField& EdRxKdel;
    controls::TextField& Edit2;
    controls::Control& Panel1;
    controls::CheckBox& ChBA;
    controls::CheckBox& ChBB;
    controls::TextField& EdminF;
    controls::TextField& EdmaxF;
    controls::Button& Button2;
    controls::ScrollBar& RFreqScrollBar1;
};

class OptionsPanel {
public:
    OptionsPanel(OptionsControls controls, freqplan::FrequencyPlan& plan, freqplan::Options& options);

    void Edit2Change();
    void EdKdelChange();
    void EdRxKdelChange();
    void EdFpChange();
    void EdFpAChange();
    void ChBAClick();
    void ChBBClick();
    void Button2Click(); // the tuning range "Ok"
    // The range restored at start-up from the stored limits, both in one step so that a stored range below
    // the designed minimum is taken as it is; one the options refuse gives 22000 … 550000.
    void restoreTuningRange(std::int32_t minHz, std::int32_t maxHz);
    // A key pressed while the window itself has the keyboard: Alt+X shows the hidden panel.
    void FormKeyDown(int key, bool alt);

private:
    OptionsControls c_;
    freqplan::FrequencyPlan& plan_;
    freqplan::Options& options_;
};

} // namespace tarvel::ui::panels
