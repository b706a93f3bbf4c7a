#include "synth/ToneSynthesizer.h"

#include "synth/ReducedSine.h"
#include "synth/SampleClock.h"

#include <algorithm>
#include <cmath>

namespace tarvel::synth {

namespace {

std::int16_t ExactSineSample(long double phase, std::int32_t level) {
    return Low16(std::llrint(std::sin(phase) * static_cast<long double>(level)));
}

bool ExactSineNonNegative(long double phase) {
    return std::sin(phase) >= 0.0L;
}

// Handles Off and unknown waveforms; true when the caller still has a tone to compute.
bool PrepareFill(std::int16_t* block, std::int32_t waveform, int frames, double& time) {
    if (frames < 0) {
        return false;
    }
    if (waveform == static_cast<std::int32_t>(WaveformKind::Off)) {
        std::fill_n(block, frames + 1, std::int16_t{0});
        time = 0.0;
        return false;
    }
    return waveform == static_cast<std::int32_t>(WaveformKind::Sine) ||
           waveform == static_cast<std::int32_t>(WaveformKind::Square);
}

// The fast sine decides almost every sample; the exact sine settles the ones it cannot be sure of, so the
// samples are those of FillChannelPlain.
void FillSine(std::int16_t* block, std::int32_t level, double omega, int frames, double& time) {
    const long double start = time;
    const bool reducible = level >= -kReducedLevelLimit && level <= kReducedLevelLimit;
    const double levelAsDouble = level;
    double t = time;
    for (int i = 0; i <= frames; ++i) {
        t = SampleTime(start, i);
        const long double phase = SamplePhase(omega, t);
        std::int64_t rounded;
        if (reducible && TryReducedSineSample(phase, levelAsDouble, rounded)) {
            block[i] = Low16(rounded);
        } else {
            block[i] = ExactSineSample(phase, level);
        }
    }
    time = t;
}

void FillSquare(std::int16_t* block, std::int32_t level, double omega, int frames, double& time) {
    const long double start = time;
    const std::int16_t high = Low16(level);
    // Widened first: -level of the lowest 32-bit value does not fit.
    const std::int16_t low = Low16(-static_cast<std::int64_t>(level));
    double t = time;
    for (int i = 0; i <= frames; ++i) {
        t = SampleTime(start, i);
        const long double phase = SamplePhase(omega, t);
        bool nonNegative;
        if (!TryReducedSineSign(phase, nonNegative)) {
            nonNegative = ExactSineNonNegative(phase);
        }
        block[i] = nonNegative ? high : low;
    }
    time = t;
}

} // namespace

void FillChannel(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                 std::int32_t frequencyWordLow32, int frames, double& time) {
    if (!PrepareFill(block, waveform, frames, time)) {
        return;
    }
    const double omega = AngularFrequency(frequencyWordLow32);
    if (waveform == static_cast<std::int32_t>(WaveformKind::Sine)) {
        FillSine(block, level, omega, frames, time);
    } else {
        FillSquare(block, level, omega, frames, time);
    }
}

void FillChannel(std::int16_t* block, ToneChannel& channel, int frames) {
    const std::int32_t waveform = channel.waveform.load(std::memory_order_relaxed);
    const std::int32_t level = channel.level.load(std::memory_order_relaxed);
    // Low half of the word, read as signed (modular conversion).
    const auto word = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(channel.frequencyWord.load(std::memory_order_relaxed)));
    FillChannel(block, waveform, level, word, frames, channel.time);
}

void FillChannelPlain(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                      std::int32_t frequencyWordLow32, int frames, double& time) {
    if (!PrepareFill(block, waveform, frames, time)) {
        return;
    }
    const bool square = waveform == static_cast<std::int32_t>(WaveformKind::Square);
    const double omega = AngularFrequency(frequencyWordLow32);
    const long double start = time;
    double t = time;
    for (int i = 0; i <= frames; ++i) {
        t = SampleTime(start, i);
        const long double phase = SamplePhase(omega, t);
        if (square) {
            block[i] = ExactSineNonNegative(phase) ? Low16(level) : Low16(-static_cast<std::int64_t>(level));
        } else {
            block[i] = ExactSineSample(phase, level);
        }
    }
    time = t;
}

void InterleaveChannels(std::int16_t* out, const std::int16_t* vfoA, const std::int16_t* vfoB, int frames) {
    for (int k = 0; k < frames; ++k) {
        out[2 * k] = vfoA[k];
        out[2 * k + 1] = vfoB[k];
    }
}

} // namespace tarvel::synth
