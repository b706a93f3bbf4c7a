#pragma once
// VFO A's and VFO B's groups bound to the frequency plan: the panels keep the controls' own rules (the
// fine value's carry, the bars that follow, the tuning steps) and show the tones the plan reports.
// Called on the user-interface thread.
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Memories.h"
#include "ui/controls/Control.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/ScrollBar.h"
#include "ui/controls/Simple.h"
#include "ui/controls/SpinField.h"
#include "ui/forms/MainForm.h"

#include <cstdint>

namespace tarvel::ui::panels {

constexpr controls::Color kOrange = controls::rgb(255, 136, 34);
constexpr controls::Color kLightGrey = controls::rgb(204, 204, 204);
constexpr controls::Color kGreen = controls::rgb(0, 136, 85);

class VfoAPanel {
public:
    // Hands the controls' present values to the plan and connects the handlers.
    VfoAPanel(forms::MainForm& form, freqplan::FrequencyPlan& plan);

    // The fields set as the operator would set them, each running its handler.
    void setCoarseHz(std::int32_t hz);
    void setFineCentiHz(std::int32_t centiHz);
    std::int32_t fineCentiHz() const { return fine_.value(); }
    void chooseWaveform(synth::WaveformKind waveform);
    // Tunes as the operator would: the coarse field, then the fine one, each running its handler.
    void tuneTo(const freqplan::Memory& memory);
    // The fine field moved by delta 0.01 Hz, carrying as a step would.
    void stepFine(int delta);

    // The tuning bar's range. A narrowed range takes the maximum first, then the minimum, each of which the
    // bar may refuse; a set range takes both limits in one step.
    bool inTuningRange(std::int32_t hz) const;
    void narrowTuningRange(std::int32_t minHz, std::int32_t maxHz);
    void setTuningRange(std::int32_t minHz, std::int32_t maxHz);

private:
    // The coarse or the fine field changed.
    void frequencyChanged();
    void waveformChosen();
    void levelBarMoved();
    void levelFieldChanged();
    void tuningBarMoved();
    // Shows a retune's tone; calls nothing of the plan, which is still telling its listeners.
    void showTone(const freqplan::Tone& tone);
    // What the tuning bar's move asks of the coarse field, once the plan's call is over.
    void followTuningBar();

    controls::SpinField& coarse_;
    controls::SpinField& fine_;
    controls::ScrollBar& tuningBar_;
    controls::RadioGroup& waveform_;
    controls::ScrollBar& levelBar_;
    controls::SpinField& levelField_; // a hidden mirror of the bar
    controls::Label& toneLabel_;
    controls::Control& waveformIndicator_;
    freqplan::FrequencyPlan& plan_;
    // The last retune moved the bar: the coarse field is still to follow it.
    bool barMoved_ = false;
};

class VfoBPanel {
public:
    // Hands the controls' present values to the plan and connects the handlers.
    VfoBPanel(forms::MainForm& form, freqplan::FrequencyPlan& plan);

    // Set as the operator would set them, each running its handler.
    void tuneTo(std::int32_t hz);
    void chooseWaveform(synth::WaveformKind waveform);
    void chooseKilohertzStep();

private:
    void frequencyChanged();
    void waveformChosen();
    void levelBarMoved();
    void levelFieldChanged();

    controls::SpinField& frequency_;
    controls::RadioButton& step1_;
    controls::RadioButton& step10_;
    controls::RadioButton& step100_;
    controls::RadioButton& step1k_;
    controls::RadioGroup& waveform_;
    controls::ScrollBar& levelBar_;
    controls::SpinField& levelField_;
    controls::Label& toneLabel_;
    controls::Control& waveformIndicator_;
    freqplan::FrequencyPlan& plan_;
};

} // namespace tarvel::ui::panels
