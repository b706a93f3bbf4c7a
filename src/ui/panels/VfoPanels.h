#pragma once
// VFO A's and VFO B's groups bound to the frequency plan: the panels keep the controls' own rules (the
// fine value's carry, the bars that follow, the tuning steps) and show the tones the plan reports.
// Called on the user-interface thread.
#include "controls/Control.h"
#include "controls/RadioButton.h"
#include "controls/RadioGroup.h"
#include "controls/ScrollBar.h"
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Memories.h"

namespace tarvel::ui::panels {

constexpr controls::Color kOrange = controls::rgb(255, 136, 34);
constexpr controls::Color kLightGrey = controls::rgb(204, 204, 204);
constexpr controls::Color kGreen = controls::rgb(0, 136, 85);

struct VfoAControls {
    controls::SpinField& seRfreq;
    controls::SpinField& fineRfr;
    controls::ScrollBar& RFreqScrollBar1;
    controls::RadioGroup& rgR;
    controls::ScrollBar& LevRScrollBar1;
    controls::SpinField& seRLev;
    controls::Label& Label9;
    controls::Control& PnAcol;
};

class VfoAPanel {
public:
    // Hands the controls' present values to the plan and connects the handlers.
    VfoAPanel(VfoAControls controls, freqplan::FrequencyPlan& plan);

    // The coarse or the fine field changed.
    void frequencyChanged();
    void rgRClick();
    void LevRScrollBar1Change();
    void seRLevChange();
    void RFreqScrollBar1Change();

    // Tunes as the operator would: the coarse field, then the fine one, each running its handler.
    void tuneTo(const freqplan::Memory& memory);
    // The fine field moved by delta 0.01 Hz, carrying as a step would.
    void stepFine(int delta);

private:
    void showTone(const freqplan::Tone& tone);

    VfoAControls c_;
    freqplan::FrequencyPlan& plan_;
};

struct VfoBControls {
    controls::SpinField& seLfreq;
    controls::RadioButton& RBt1;
    controls::RadioButton& RBt10;
    controls::RadioButton& RBt100;
    controls::RadioButton& RBt1k;
    controls::RadioGroup& rgL;
    controls::ScrollBar& LevLScrollBar1;
    controls::SpinField& seLLev;
    controls::Label& LbFoutrx;
    controls::Control& PnBcol;
};

class VfoBPanel {
public:
    // Hands the controls' present values to the plan and connects the handlers.
    VfoBPanel(VfoBControls controls, freqplan::FrequencyPlan& plan);

    void seLfreqChange();
    void rgLClick();
    void LevLScrollBar1Change();
    void seLLevChange();

private:
    VfoBControls c_;
    freqplan::FrequencyPlan& plan_;
};

} // namespace tarvel::ui::panels
