#include "freqplan/FrequencyPlan.h"

#include "freqplan/FrequencyWord.h"
#include "platform/Failure.h"
#include "platform/Locale.h"

#include <cmath>
#include <string>

namespace tarvel::freqplan {
namespace {

constexpr double kAudioLimitHz = 22000.0;

Tone toneOf(const FrequencyWord& fw, bool signedComparison) {
    const double tone = fw.w / 4096.0;
    const double compared = signedComparison ? tone : std::fabs(tone);
    return {std::fabs(tone), compared > kAudioLimitHz};
}

// The arithmetic's own message, followed by the value that caused it: a zero multiplier, or else the
// correction (the frequencies alone cannot leave the 64-bit range).
FrequencyWord namedWord(double f, double correction, std::int32_t divisor, const char* multiplier) {
    try {
        return computeFrequencyWord(f, correction, divisor);
    } catch (const platform::Failure& failure) {
        const std::string cause = divisor == 0
                                      ? std::string(multiplier) + " is 0"
                                      : "correction factor (corr) is " + platform::formatGeneral(correction);
        throw platform::Failure(std::string(failure.what()) + ": " + cause);
    }
}

} // namespace

FrequencyPlan::FrequencyPlan(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB) : vfoA_(vfoA), vfoB_(vfoB) {}

void FrequencyPlan::assumeVfoA(std::int32_t coarseHz, std::int32_t fineCentiHz, synth::WaveformKind waveform,
                               std::int32_t level) {
    coarseHz_ = coarseHz;
    fineCentiHz_ = fineCentiHz;
    vfoAWaveform_ = waveform;
    vfoALevel_ = level;
}

void FrequencyPlan::assumeVfoB(std::int32_t hz, synth::WaveformKind waveform, std::int32_t level) {
    vfoBHz_ = hz;
    vfoBWaveform_ = waveform;
    vfoBLevel_ = level;
}

void FrequencyPlan::setVfoA(std::int32_t coarseHz, std::int32_t fineCentiHz) {
    coarseHz_ = coarseHz;
    fineCentiHz_ = fineCentiHz;
    retuneVfoA();
}

void FrequencyPlan::retuneVfoA() {
    const FrequencyWord fw = vfoAFrequencyWord(dfcwShift_);
    vfoA_.frequencyWord.store(fw.word);
    tunedCoarseHz_ = coarseHz_;
    tunedFineCentiHz_ = fineCentiHz_;
    onVfoATone(toneOf(fw, true));
}

void FrequencyPlan::setVfoB(std::int32_t hz) {
    vfoBHz_ = hz;
    retuneVfoB();
}

void FrequencyPlan::retuneVfoB() {
    const FrequencyWord fw = vfoBFrequencyWord();
    vfoB_.frequencyWord.store(fw.word);
    onVfoBTone(toneOf(fw, false));
    changed.vfoBHz(vfoBHz_);
}

void FrequencyPlan::setCorrection(double correction) {
    factors_.correction = correction;
    changed.correction(correction);
}

void FrequencyPlan::setVfoAFactor(std::int32_t n) {
    factors_.vfoAFactor = n;
    changed.vfoAFactor(n);
}

void FrequencyPlan::setVfoBFactor(std::int32_t n) {
    factors_.vfoBFactor = n;
    changed.vfoBFactor(n);
}

void FrequencyPlan::setVfoBOffset(std::int32_t hz) {
    factors_.vfoBOffset = hz;
    changed.vfoBOffset(hz);
}

void FrequencyPlan::setVfoAOffset(std::int32_t hz) {
    factors_.vfoAOffset = hz;
    changed.vfoAOffset(hz);
}

void FrequencyPlan::setVfoAWaveform(synth::WaveformKind waveform) {
    vfoAWaveform_ = waveform;
    vfoA_.waveform.store(static_cast<std::int32_t>(waveform));
    changed.vfoAWaveform(waveform);
}

void FrequencyPlan::setVfoBWaveform(synth::WaveformKind waveform) {
    vfoBWaveform_ = waveform;
    vfoB_.waveform.store(static_cast<std::int32_t>(waveform));
    changed.vfoBWaveform(waveform);
}

void FrequencyPlan::setVfoALevel(std::int32_t level) {
    vfoALevel_ = level;
    vfoA_.level.store(level);
}

void FrequencyPlan::playVfoALevel(std::int32_t level) {
    vfoA_.level.store(level);
}

void FrequencyPlan::setVfoBLevel(std::int32_t level) {
    vfoBLevel_ = level;
    vfoB_.level.store(level);
}

void FrequencyPlan::playVfoBLevel(std::int32_t level) {
    vfoB_.level.store(level);
}

std::int64_t FrequencyPlan::vfoAWord() const {
    return vfoAFrequencyWord(dfcwShift_).word;
}

std::int64_t FrequencyPlan::vfoBWord() const {
    return vfoBFrequencyWord().word;
}

std::int64_t FrequencyPlan::vfoAWordWithShift(std::int32_t dfcwShift) const {
    return vfoAFrequencyWord(dfcwShift).word;
}

std::int64_t FrequencyPlan::vfoAWordMovedBy(double rfOffsetHz) const {
    return vfoAFrequencyWord(dfcwShift_, rfOffsetHz).word;
}

FrequencyWord FrequencyPlan::vfoAFrequencyWord(std::int32_t dfcwShift, double rfOffsetHz) const {
    return namedWord(vfoAFrequency(coarseHz_, factors_.vfoAOffset, fineCentiHz_, dfcwShift) + rfOffsetHz,
                     factors_.correction, factors_.vfoAFactor, "VFO A multiplier (N)");
}

FrequencyWord FrequencyPlan::vfoBFrequencyWord() const {
    return namedWord(vfoBFrequency(factors_.vfoBOffset, vfoBHz_), factors_.correction, factors_.vfoBFactor,
                     "VFO B multiplier (Nrx)");
}

} // namespace tarvel::freqplan
