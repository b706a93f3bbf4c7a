#pragma once
// The frequency plan: VFO A and VFO B as numbers, with the factors, offsets, correction, waveforms and
// levels; every change reaches the two tone channels at once, and the values the settings file keeps are
// told to whoever keeps them.
#include "audio/ToneSource.h"
#include "freqplan/FrequencyWord.h"
#include "platform/Notice.h"
#include "synth/ToneChannel.h"

#include <cstdint>

namespace tarvel::freqplan {

// The tone a retune gives, as the operator reads it.
struct Tone {
    double hz = 0.0;         // the magnitude
    bool aboveAudio = false; // beyond 22 kHz, where the sound card no longer reproduces it
};

// The factors and offsets that turn the VFO frequencies into tones.
struct Factors {
    double correction = 1.0;
    std::int32_t vfoAFactor = 16; // N
    std::int32_t vfoBFactor = 32; // Nrx
    std::int32_t vfoBOffset = 0;  // Fp
    std::int32_t vfoAOffset = 0;  // FpA
};

// The plan's values that outlive the run, each told as it changes (the file's keys in brackets).
struct PlanChanges {
    platform::Notice<std::int32_t> vfoBHz; // "frrx", after every retune of VFO B that went through
    platform::Notice<double> correction;   // "corr"
    platform::Notice<std::int32_t> vfoAFactor;
    platform::Notice<std::int32_t> vfoBFactor;
    platform::Notice<std::int32_t> vfoBOffset;
    platform::Notice<std::int32_t> vfoAOffset;
    platform::Notice<synth::WaveformKind> vfoAWaveform;
    platform::Notice<synth::WaveformKind> vfoBWaveform;
};

// Also what the tone output loads at each start: the window and the unattended beacon start the same tone
// from the same plan.
class FrequencyPlan : public audio::ToneSource {
public:
    FrequencyPlan(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB);

    // The values the controls show before their first change; nothing is published or stored.
    void assumeVfoA(std::int32_t coarseHz, std::int32_t fineCentiHz, synth::WaveformKind waveform,
                    std::int32_t level);
    void assumeVfoB(std::int32_t hz, synth::WaveformKind waveform, std::int32_t level);
    // The stored factors at start-up, held at once without writing them back.
    void restoreFactors(const Factors& factors) { factors_ = factors; }

    // VFO A tuned to coarse Hz + fine 0.01 Hz, then retuned. The values are held even when the retune
    // fails, as the fields keep showing them.
    void setVfoA(std::int32_t coarseHz, std::int32_t fineCentiHz);
    // Publishes VFO A's word from the held values and reports the tone; the keyer calls it after setting
    // the shift. Throws the frequency-word failures, leaving word and tuned values as they were; the message
    // names the cause after the arithmetic's own text (": VFO A multiplier (N) is 0").
    void retuneVfoA();
    // VFO B tuned to hz, then retuned; the retune stores "frrx".
    void setVfoB(std::int32_t hz);
    void retuneVfoB();

    // Each is stored at once and takes effect at the next retune.
    void setCorrection(double correction);
    void setVfoAFactor(std::int32_t n);
    void setVfoBFactor(std::int32_t n);
    void setVfoBOffset(std::int32_t hz);
    void setVfoAOffset(std::int32_t hz);
    const Factors& factors() const { return factors_; }

    // The waveform plays at once and is stored.
    void setVfoAWaveform(synth::WaveformKind waveform);
    void setVfoBWaveform(synth::WaveformKind waveform);
    synth::WaveformKind vfoAWaveform() const { return vfoAWaveform_; }
    synth::WaveformKind vfoBWaveform() const { return vfoBWaveform_; }
    // A level plays at once; setVfo?Level also makes it the level the next start loads, while
    // playVfo?Level leaves that one as it was.
    void setVfoALevel(std::int32_t level);
    void playVfoALevel(std::int32_t level);
    void setVfoBLevel(std::int32_t level);
    void playVfoBLevel(std::int32_t level);
    std::int32_t vfoALevel() const { return vfoALevel_; }
    std::int32_t vfoBLevel() const { return vfoBLevel_; }

    // VFO A as the operator set it: coarse Hz and fine 0.01 Hz.
    std::int32_t vfoACoarseHz() const { return coarseHz_; }
    std::int32_t vfoAFineCentiHz() const { return fineCentiHz_; }
    // VFO A as the last retune that went through left it: what Start and the memories store.
    std::int32_t tunedCoarseHz() const { return tunedCoarseHz_; }
    std::int32_t tunedFineCentiHz() const { return tunedFineCentiHz_; }
    std::int32_t vfoBHz() const { return vfoBHz_; }

    // The keyer's DFCW shift of VFO A, 0.01 Hz; takes effect at the next retuneVfoA().
    void setDfcwShift(std::int32_t shift) { dfcwShift_ = shift; }
    std::int32_t dfcwShift() const { return dfcwShift_; }

    // The words Start loads, from the present values only (no report, no side effect).
    std::int64_t vfoAWord() const;
    std::int64_t vfoBWord() const;
    // VFO A's word as a retune with that DFCW shift would publish it, without publishing it: the keyer
    // hands it to the tone ahead of the step that retunes.
    std::int64_t vfoAWordWithShift(std::int32_t dfcwShift) const;
    // VFO A's word moved by rfOffsetHz at the radio frequency, by the same formula (the shift reaches the
    // sound card divided by the factor); without publishing it. Throws the frequency-word failures.
    std::int64_t vfoAWordMovedBy(double rfOffsetHz) const;

    // The tone source: VFO A as last tuned, and both channels' present values.
    std::int32_t lastCoarse() const override { return tunedCoarseHz_; }
    std::int32_t lastFine() const override { return tunedFineCentiHz_; }
    audio::ChannelValues vfoA() const override { return {vfoAWord(), vfoAWaveform_, vfoALevel_}; }
    audio::ChannelValues vfoB() const override { return {vfoBWord(), vfoBWaveform_, vfoBLevel_}; }

    // After every retune that went through: the tone to show. VFO A compares the signed tone with the
    // limit, so a negative one never counts as above; VFO B compares the magnitude.
    platform::Notice<const Tone&> onVfoATone;
    platform::Notice<const Tone&> onVfoBTone;
    PlanChanges changed;

private:
    FrequencyWord vfoAFrequencyWord(std::int32_t dfcwShift, double rfOffsetHz = 0.0) const;
    FrequencyWord vfoBFrequencyWord() const;

    synth::ToneChannel& vfoA_;
    synth::ToneChannel& vfoB_;
    Factors factors_;
    std::int32_t coarseHz_ = 0;
    std::int32_t fineCentiHz_ = 0;
    std::int32_t tunedCoarseHz_ = 0;
    std::int32_t tunedFineCentiHz_ = 0;
    std::int32_t vfoBHz_ = 0;
    std::int32_t dfcwShift_ = 0; // written only by the keyer
    synth::WaveformKind vfoAWaveform_ = synth::WaveformKind::Off;
    synth::WaveformKind vfoBWaveform_ = synth::WaveformKind::Off;
    std::int32_t vfoALevel_ = 0;
    std::int32_t vfoBLevel_ = 0;
};

} // namespace tarvel::freqplan
