#include "ui/panels/VfoPanels.h"

#include "freqplan/Limits.h"
#include "platform/Locale.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace tarvel::ui::panels {
namespace {

// A carry past the field's extremes saturates instead of wrapping round to the other end.
int stepped(int value, int delta) {
    const long long v = static_cast<long long>(value) + delta;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

void showToneOn(controls::Label& label, const freqplan::Tone& tone) {
    label.setCaption(platform::formatGeneral(tone.hz));
    label.setColor(tone.aboveAudio ? kOrange : kLightGrey);
}

synth::WaveformKind waveformOf(const controls::RadioGroup& group) {
    return static_cast<synth::WaveformKind>(group.itemIndex());
}

controls::Color waveformColor(synth::WaveformKind waveform) {
    return waveform == synth::WaveformKind::Off ? kLightGrey : kGreen;
}

} // namespace

VfoAPanel::VfoAPanel(forms::MainForm& form, freqplan::FrequencyPlan& plan)
    : coarse_(form.seRfreq), fine_(form.fineRfr), tuningBar_(form.RFreqScrollBar1), waveform_(form.rgR),
      levelBar_(form.LevRScrollBar1), levelField_(form.seRLev), toneLabel_(form.Label9),
      waveformIndicator_(form.PnAcol), plan_(plan) {
    // Start loads the bar's level, not the field's.
    plan_.assumeVfoA(coarse_.value(), fine_.value(), waveformOf(waveform_), levelBar_.position());
    coarse_.onChange = [this] { frequencyChanged(); };
    fine_.onChange = [this] { frequencyChanged(); };
    waveform_.onClick = [this] { waveformChosen(); };
    levelBar_.onChange = [this] { levelBarMoved(); };
    levelField_.onChange = [this] { levelFieldChanged(); };
    tuningBar_.onChange = [this] { tuningBarMoved(); };
    plan_.onVfoATone.connect([this](const freqplan::Tone& tone) { showTone(tone); });
}

void VfoAPanel::frequencyChanged() {
    // A fine value that leaves its range carries into the coarse value; each setter runs this handler again
    // nested, and this run then goes on with the normalised values. A larger value while typed plays as it
    // is; the field pulls it to one past the range when it loses the focus.
    if (fine_.value() == freqplan::limits::vfoAFineCentiHz.max + 1) {
        fine_.setValue(0);
        coarse_.setValue(stepped(coarse_.value(), 1));
    }
    if (fine_.value() < freqplan::limits::vfoAFineCentiHz.min) {
        fine_.setValue(95);
        coarse_.setValue(stepped(coarse_.value(), -1));
    }
    barMoved_ = false;
    plan_.setVfoA(coarse_.value(), fine_.value());
    followTuningBar();
}

void VfoAPanel::showTone(const freqplan::Tone& tone) {
    showToneOn(toneLabel_, tone);
    // The bar follows every retune. The field follows the bar as a move by the operator would take it,
    // which tunes the plan again: that waits until the plan's retune is over.
    barMoved_ = tuningBar_.showPosition(plan_.vfoACoarseHz());
}

void VfoAPanel::followTuningBar() {
    // A coarse value beyond the bar's range is pulled back to the bar's end, and tuned.
    if (std::exchange(barMoved_, false))
        tuningBarMoved();
}

void VfoAPanel::waveformChosen() {
    plan_.setVfoAWaveform(waveformOf(waveform_));
    waveformIndicator_.setColor(waveformColor(waveformOf(waveform_)));
}

void VfoAPanel::levelBarMoved() {
    plan_.setVfoALevel(levelBar_.position());
    levelField_.setValue(levelBar_.position());
}

void VfoAPanel::levelFieldChanged() {
    plan_.playVfoALevel(levelField_.value());
}

void VfoAPanel::tuningBarMoved() {
    coarse_.setValue(tuningBar_.position());
}

void VfoAPanel::setCoarseHz(std::int32_t hz) {
    coarse_.setValue(hz);
}

void VfoAPanel::setFineCentiHz(std::int32_t centiHz) {
    fine_.setValue(centiHz);
}

void VfoAPanel::chooseWaveform(synth::WaveformKind waveform) {
    waveform_.setItemIndex(static_cast<int>(waveform));
}

void VfoAPanel::tuneTo(const freqplan::Memory& memory) {
    coarse_.setValue(memory.coarseHz);
    fine_.setValue(memory.fineCentiHz);
}

void VfoAPanel::stepFine(int delta) {
    fine_.setValue(fine_.value() + delta);
}

bool VfoAPanel::inTuningRange(std::int32_t hz) const {
    return hz >= tuningBar_.minValue() && hz <= tuningBar_.maxValue();
}

void VfoAPanel::narrowTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    tuningBar_.setMax(maxHz);
    tuningBar_.setMin(minHz);
}

void VfoAPanel::setTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    tuningBar_.setRange(minHz, maxHz);
}

VfoBPanel::VfoBPanel(forms::MainForm& form, freqplan::FrequencyPlan& plan)
    : frequency_(form.seLfreq), step1_(form.RBt1), step10_(form.RBt10), step100_(form.RBt100),
      step1k_(form.RBt1k), waveform_(form.rgL), levelBar_(form.LevLScrollBar1), levelField_(form.seLLev),
      toneLabel_(form.LbFoutrx), waveformIndicator_(form.PnBcol), plan_(plan) {
    // Start loads the field's level, not the bar's.
    plan_.assumeVfoB(frequency_.value(), waveformOf(waveform_), levelField_.value());
    frequency_.onChange = [this] { frequencyChanged(); };
    waveform_.onClick = [this] { waveformChosen(); };
    levelBar_.onChange = [this] { levelBarMoved(); };
    levelField_.onChange = [this] { levelFieldChanged(); };
    step1_.onClick = [this] { frequency_.setIncrement(1); };
    step10_.onClick = [this] { frequency_.setIncrement(10); };
    step100_.onClick = [this] { frequency_.setIncrement(100); };
    step1k_.onClick = [this] { frequency_.setIncrement(1000); };
    plan_.onVfoBTone.connect([this](const freqplan::Tone& tone) { showToneOn(toneLabel_, tone); });
}

void VfoBPanel::tuneTo(std::int32_t hz) {
    frequency_.setValue(hz);
}

void VfoBPanel::chooseWaveform(synth::WaveformKind waveform) {
    waveform_.setItemIndex(static_cast<int>(waveform));
}

void VfoBPanel::chooseKilohertzStep() {
    step1k_.setChecked(true);
}

void VfoBPanel::frequencyChanged() {
    plan_.setVfoB(frequency_.value());
}

void VfoBPanel::waveformChosen() {
    plan_.setVfoBWaveform(waveformOf(waveform_));
    waveformIndicator_.setColor(waveformColor(waveformOf(waveform_)));
}

void VfoBPanel::levelBarMoved() {
    plan_.playVfoBLevel(levelBar_.position());
    levelField_.setValue(levelBar_.position());
}

void VfoBPanel::levelFieldChanged() {
    plan_.setVfoBLevel(levelField_.value());
}

} // namespace tarvel::ui::panels
