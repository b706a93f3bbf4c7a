#pragma once
// The frequency plan: keeps the two tone channels in step with the VFO controls (both retunes, the
// factors, offsets, correction, waveforms and levels) and owns the values they work with.
#include "controls/Control.h"
#include "controls/RadioButton.h"
#include "controls/RadioGroup.h"
#include "controls/ScrollBar.h"
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "settings/IniFile.h"
#include "synth/ToneChannel.h"

#include <cstdint>

namespace tarvel::freqplan {

constexpr controls::Color kOrange = controls::rgb(255, 136, 34);
constexpr controls::Color kLightGrey = controls::rgb(204, 204, 204);
constexpr controls::Color kGreen = controls::rgb(0, 136, 85);

// The controls of the main window that the plan reads and writes.
struct FrequencyPlanControls {
    controls::SpinField& seRfreq;
    controls::SpinField& fineRfr;
    controls::ScrollBar& RFreqScrollBar1;
    controls::TextField& EdFpA;
    controls::TextField& EdKdel;
    controls::RadioGroup& rgR;
    controls::ScrollBar& LevRScrollBar1;
    controls::SpinField& seRLev;
    controls::Label& Label9;
    controls::Control& PnAcol;
    controls::SpinField& seLfreq;
    controls::RadioButton& RBt1;
    controls::RadioButton& RBt10;
    controls::RadioButton& RBt100;
    controls::RadioButton& RBt1k;
    controls::TextField& EdFp;
    controls::TextField& EdRxKdel;
    controls::RadioGroup& rgL;
    controls::ScrollBar& LevLScrollBar1;
    controls::SpinField& seLLev;
    controls::Label& LbFoutrx;
    controls::Control& PnBcol;
    controls::TextField& Edit2;
};

class FrequencyPlan {
public:
    // Connects the handlers to the controls' events.
    FrequencyPlan(FrequencyPlanControls controls, synth::ToneChannel& vfoA, synth::ToneChannel& vfoB,
                  settings::IniFile& settings);

    // The VFO A retune; the keyer calls it after setting df.
    void retuneVfoA();
    // The VFO B retune.
    void retuneVfoB();
    void cbRTypChange();
    void cbLtypChange();
    void LevRScrollBar1Change();
    void seRLevChange();
    void LevLScrollBar1Change();
    void seLLevChange();
    void RFreqScrollBar1Change();
    void Edit1Change();
    void EdKdelChange();
    void EdRxKdelChange();
    void EdFpChange();
    void EdFpAChange();

    // VFO A as the operator set it: coarse Hz and fine 0.01 Hz.
    std::int32_t vfoACoarseHz() const;
    std::int32_t vfoAFineCentiHz() const;
    // The keyer's DFCW shift of VFO A, Hz; takes effect at the next retuneVfoA().
    void setDfcwShift(std::int32_t hz) { df = hz; }
    std::int32_t dfcwShift() const { return df; }

    // The words Start loads, from the present controls and values only (no display, no side effect).
    std::int64_t vfoAWord() const;
    std::int64_t vfoBWord() const;

    double corr = 1.0;
    std::int32_t N = 16;
    std::int32_t Nrx = 32;
    std::int32_t Fp = 0;
    std::int32_t FpA = 0;
    std::int32_t df = 0; // written only by the keyer
    std::int32_t lastCoarse = 0;
    std::int32_t lastFine = 0;
    std::int32_t lastVfoB = 0;

private:
    void showTone(controls::Label& label, double w, bool signedComparison);

    FrequencyPlanControls c_;
    synth::ToneChannel& vfoA_;
    synth::ToneChannel& vfoB_;
    settings::IniFile& settings_;
};

} // namespace tarvel::freqplan
