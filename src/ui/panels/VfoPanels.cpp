#include "ui/panels/VfoPanels.h"

#include "platform/Locale.h"

#include <algorithm>
#include <climits>

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

controls::Color waveformColor(int waveform) {
    return waveform == 0 ? kLightGrey : kGreen;
}

} // namespace

VfoAPanel::VfoAPanel(VfoAControls controls, freqplan::FrequencyPlan& plan) : c_(controls), plan_(plan) {
    // Start loads the bar's level, not the field's.
    plan_.assumeVfoA(c_.seRfreq.value(), c_.fineRfr.value(), c_.rgR.itemIndex(),
                     c_.LevRScrollBar1.position());
    c_.seRfreq.onChange = [this] { frequencyChanged(); };
    c_.fineRfr.onChange = [this] { frequencyChanged(); };
    c_.rgR.onClick = [this] { rgRClick(); };
    c_.LevRScrollBar1.onChange = [this] { LevRScrollBar1Change(); };
    c_.seRLev.onChange = [this] { seRLevChange(); };
    c_.RFreqScrollBar1.onChange = [this] { RFreqScrollBar1Change(); };
    plan_.onVfoATone = [this](const freqplan::Tone& tone) { showTone(tone); };
}

void VfoAPanel::frequencyChanged() {
    // A fine value that leaves 0 … 99 carries into the coarse value; each setter runs this handler again
    // nested, and this run then goes on with the normalised values.
    if (c_.fineRfr.value() == 100) {
        c_.fineRfr.setValue(0);
        c_.seRfreq.setValue(stepped(c_.seRfreq.value(), 1));
    }
    if (c_.fineRfr.value() < 0) {
        c_.fineRfr.setValue(95);
        c_.seRfreq.setValue(stepped(c_.seRfreq.value(), -1));
    }
    plan_.setVfoA(c_.seRfreq.value(), c_.fineRfr.value());
}

void VfoAPanel::showTone(const freqplan::Tone& tone) {
    showToneOn(c_.Label9, tone);
    // The bar follows every retune; a coarse value beyond its range pulls the field back through it.
    c_.RFreqScrollBar1.setPosition(plan_.vfoACoarseHz());
}

void VfoAPanel::rgRClick() {
    plan_.setVfoAWaveform(c_.rgR.itemIndex());
    c_.PnAcol.setColor(waveformColor(c_.rgR.itemIndex()));
}

void VfoAPanel::LevRScrollBar1Change() {
    plan_.setVfoALevel(c_.LevRScrollBar1.position());
    c_.seRLev.setValue(c_.LevRScrollBar1.position());
}

void VfoAPanel::seRLevChange() {
    plan_.playVfoALevel(c_.seRLev.value());
}

void VfoAPanel::RFreqScrollBar1Change() {
    c_.seRfreq.setValue(c_.RFreqScrollBar1.position());
}

void VfoAPanel::tuneTo(const freqplan::Memory& memory) {
    c_.seRfreq.setValue(memory.coarseHz);
    c_.fineRfr.setValue(memory.fineCentiHz);
}

void VfoAPanel::stepFine(int delta) {
    c_.fineRfr.setValue(c_.fineRfr.value() + delta);
}

VfoBPanel::VfoBPanel(VfoBControls controls, freqplan::FrequencyPlan& plan) : c_(controls), plan_(plan) {
    // Start loads the field's level, not the bar's.
    plan_.assumeVfoB(c_.seLfreq.value(), c_.rgL.itemIndex(), c_.seLLev.value());
    c_.seLfreq.onChange = [this] { seLfreqChange(); };
    c_.rgL.onClick = [this] { rgLClick(); };
    c_.LevLScrollBar1.onChange = [this] { LevLScrollBar1Change(); };
    c_.seLLev.onChange = [this] { seLLevChange(); };
    c_.RBt1.onClick = [this] { c_.seLfreq.setIncrement(1); };
    c_.RBt10.onClick = [this] { c_.seLfreq.setIncrement(10); };
    c_.RBt100.onClick = [this] { c_.seLfreq.setIncrement(100); };
    c_.RBt1k.onClick = [this] { c_.seLfreq.setIncrement(1000); };
    plan_.onVfoBTone = [this](const freqplan::Tone& tone) { showToneOn(c_.LbFoutrx, tone); };
}

void VfoBPanel::seLfreqChange() {
    plan_.setVfoB(c_.seLfreq.value());
}

void VfoBPanel::rgLClick() {
    plan_.setVfoBWaveform(c_.rgL.itemIndex());
    c_.PnBcol.setColor(waveformColor(c_.rgL.itemIndex()));
}

void VfoBPanel::LevLScrollBar1Change() {
    plan_.playVfoBLevel(c_.LevLScrollBar1.position());
    c_.seLLev.setValue(c_.LevLScrollBar1.position());
}

void VfoBPanel::seLLevChange() {
    plan_.setVfoBLevel(c_.seLLev.value());
}

} // namespace tarvel::ui::panels
