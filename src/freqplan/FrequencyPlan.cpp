#include "freqplan/FrequencyPlan.h"

#include "freqplan/FieldText.h"
#include "freqplan/FrequencyWord.h"
#include "platform/Cp1251.h"
#include "platform/Failure.h"
#include "platform/Locale.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace tarvel::freqplan {
namespace {

// A carry past the field's extremes saturates instead of wrapping round to the other end.
int stepped(int value, int delta) {
    const long long v = static_cast<long long>(value) + delta;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

} // namespace

FrequencyPlan::FrequencyPlan(FrequencyPlanControls controls, synth::ToneChannel& vfoA,
                             synth::ToneChannel& vfoB, settings::IniFile& settings)
    : c_(controls), vfoA_(vfoA), vfoB_(vfoB), settings_(settings) {
    c_.seRfreq.onChange = [this] { retuneVfoA(); };
    c_.fineRfr.onChange = [this] { retuneVfoA(); };
    c_.seLfreq.onChange = [this] { retuneVfoB(); };
    c_.rgR.onClick = [this] { cbRTypChange(); };
    c_.rgL.onClick = [this] { cbLtypChange(); };
    c_.LevRScrollBar1.onChange = [this] { LevRScrollBar1Change(); };
    c_.seRLev.onChange = [this] { seRLevChange(); };
    c_.LevLScrollBar1.onChange = [this] { LevLScrollBar1Change(); };
    c_.seLLev.onChange = [this] { seLLevChange(); };
    c_.RFreqScrollBar1.onChange = [this] { RFreqScrollBar1Change(); };
    c_.Edit2.onChange = [this] { Edit1Change(); };
    c_.EdKdel.onChange = [this] { EdKdelChange(); };
    c_.EdRxKdel.onChange = [this] { EdRxKdelChange(); };
    c_.EdFp.onChange = [this] { EdFpChange(); };
    c_.EdFpA.onChange = [this] { EdFpAChange(); };
    c_.RBt1.onClick = [this] { c_.seLfreq.setIncrement(1); };
    c_.RBt10.onClick = [this] { c_.seLfreq.setIncrement(10); };
    c_.RBt100.onClick = [this] { c_.seLfreq.setIncrement(100); };
    c_.RBt1k.onClick = [this] { c_.seLfreq.setIncrement(1000); };
}

void FrequencyPlan::retuneVfoA() {
    // A fine value that leaves 0 … 99 carries into the coarse value; each setter runs this retune again
    // nested, and this run then goes on with the normalised values.
    if (c_.fineRfr.value() == 100) {
        c_.fineRfr.setValue(0);
        c_.seRfreq.setValue(stepped(c_.seRfreq.value(), 1));
    }
    if (c_.fineRfr.value() < 0) {
        c_.fineRfr.setValue(95);
        c_.seRfreq.setValue(stepped(c_.seRfreq.value(), -1));
    }
    const FrequencyWord fw =
        computeFrequencyWord(vfoAFrequency(c_.seRfreq.value(), FpA, c_.fineRfr.value(), df), corr, N);
    vfoA_.frequencyWord.store(fw.word);
    showTone(c_.Label9, fw.w, true);
    lastCoarse = c_.seRfreq.value();
    lastFine = c_.fineRfr.value();
    c_.RFreqScrollBar1.setPosition(c_.seRfreq.value());
}

void FrequencyPlan::retuneVfoB() {
    const double f = vfoBFrequency(Fp, c_.seLfreq.value());
    lastVfoB = c_.seLfreq.value();
    const FrequencyWord fw = computeFrequencyWord(f, corr, Nrx);
    vfoB_.frequencyWord.store(fw.word);
    showTone(c_.LbFoutrx, fw.w, false);
    settings_.writeInteger("frrx", lastVfoB);
}

void FrequencyPlan::showTone(controls::Label& label, double w, bool signedComparison) {
    const double tone = w / 4096.0;
    label.setCaption(platform::formatGeneral(std::fabs(tone)));
    // VFO A compares the signed tone, so a negative tone is always grey; VFO B compares the magnitude.
    const double compared = signedComparison ? tone : std::fabs(tone);
    label.setColor(compared > 22000.0 ? kOrange : kLightGrey);
}

void FrequencyPlan::cbRTypChange() {
    const int index = c_.rgR.itemIndex();
    vfoA_.waveform.store(index);
    c_.PnAcol.setColor(index == 0 ? kLightGrey : kGreen);
    settings_.writeInteger("TA", index);
}

void FrequencyPlan::cbLtypChange() {
    const int index = c_.rgL.itemIndex();
    vfoB_.waveform.store(index);
    c_.PnBcol.setColor(index == 0 ? kLightGrey : kGreen);
    settings_.writeInteger("TB", index);
}

void FrequencyPlan::LevRScrollBar1Change() {
    vfoA_.level.store(c_.LevRScrollBar1.position());
    c_.seRLev.setValue(c_.LevRScrollBar1.position());
}

void FrequencyPlan::seRLevChange() {
    vfoA_.level.store(c_.seRLev.value());
}

void FrequencyPlan::LevLScrollBar1Change() {
    vfoB_.level.store(c_.LevLScrollBar1.position());
    c_.seLLev.setValue(c_.LevLScrollBar1.position());
}

void FrequencyPlan::seLLevChange() {
    vfoB_.level.store(c_.seLLev.value());
}

void FrequencyPlan::RFreqScrollBar1Change() {
    c_.seRfreq.setValue(c_.RFreqScrollBar1.position());
}

void FrequencyPlan::Edit1Change() {
    corr = decimalOf(c_.Edit2.text());
    settings_.writeReal("corr", corr);
}

void FrequencyPlan::EdKdelChange() {
    N = integerOf(c_.EdKdel.text());
    settings_.writeInteger("N", N);
}

void FrequencyPlan::EdRxKdelChange() {
    Nrx = integerOf(c_.EdRxKdel.text());
    settings_.writeInteger("Nrx", Nrx);
}

void FrequencyPlan::EdFpChange() {
    Fp = integerOf(c_.EdFp.text());
    settings_.writeInteger("Fp", Fp);
}

void FrequencyPlan::EdFpAChange() {
    FpA = integerOf(c_.EdFpA.text());
    settings_.writeInteger("FpA", FpA);
}

std::int32_t FrequencyPlan::vfoACoarseHz() const {
    return c_.seRfreq.value();
}

std::int32_t FrequencyPlan::vfoAFineCentiHz() const {
    return c_.fineRfr.value();
}

std::int64_t FrequencyPlan::vfoAWord() const {
    return computeFrequencyWord(vfoAFrequency(c_.seRfreq.value(), FpA, c_.fineRfr.value(), df), corr, N).word;
}

std::int64_t FrequencyPlan::vfoBWord() const {
    return computeFrequencyWord(vfoBFrequency(Fp, c_.seLfreq.value()), corr, Nrx).word;
}

} // namespace tarvel::freqplan
