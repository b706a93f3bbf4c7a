#include "synth/ToneSynthesizer.h"

#include "synth/ReducedSine.h"
#include "synth/SampleClock.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// Today's yardstick route: each sample's phase reduced on its own; the fast sine decides almost every
// sample and the exact sine settles the ones it cannot be sure of.
void FillSinePointwise(std::int16_t* block, std::int32_t level, double omega, int frames, double& time) {
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

void FillSquarePointwise(std::int16_t* block, std::int32_t level, double omega, int frames, double& time) {
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

// The rotating route. Sample phases are still formed exactly as SampleTime and SamplePhase form them,
// but instead of reducing each one, the sine is rotated on from an anchor (a reduced sample phase) every
// kAnchorSpacing samples by a per-buffer table of rotations, and corrected for how far the rounded sample
// time and phase product stray from the ideal rotation. The result stays within about 1e-14 of the true
// sine, like ReducedSine, so the same margins decide when the exact sine must settle a sample.
constexpr int kAnchorSpacing = 64;
// Sample offsets kept in a table: a buffer of 16384 frames and its unplayed sample, rounded up to anchors.
constexpr int kTabulatedOffsets = 16384 + kAnchorSpacing;

// i / kSampleRate as SampleTime adds it; the table spares an extended division per sample.
const long double* TabulatedOffsets() {
    static const std::vector<long double> offsets = [] {
        std::vector<long double> table(kTabulatedOffsets);
        for (int i = 0; i < kTabulatedOffsets; ++i) {
            table[i] = static_cast<long double>(i) / static_cast<long double>(kSampleRate);
        }
        return table;
    }();
    return offsets.data();
}

class RotatingSine {
public:
    RotatingSine(double omega, double time, int frames)
        : omega_(omega), start_(time), step_(static_cast<long double>(omega) / kSampleRate),
          offsets_(TabulatedOffsets()) {
        const int count = std::min(frames + 1, kAnchorSpacing);
        for (int j = 0; j < count; ++j) {
            // |j * step| stays below 5000 rad, well inside the reduction's range.
            ReducedSineCosine(static_cast<long double>(j) * step_, rotationSine_[j], rotationCosine_[j]);
        }
    }

    // Sines of samples first..first+count-1 (first a multiple of kAnchorSpacing, count at most that);
    // false when the anchor lies beyond the fast reduction's range.
    bool Block(int first, int count, double* sine) const {
        const long double anchor = Phase(first);
        double anchorSine;
        double anchorCosine;
        if (!ReducedSineCosine(anchor, anchorSine, anchorCosine)) {
            return false;
        }
        double correction[kAnchorSpacing];
        for (int j = 0; j < count; ++j) {
            // Exact up to one extended rounding each: how far this phase strays from the anchor rotated
            // by j steps.
            const long double strayed = (Phase(first + j) - anchor) - static_cast<long double>(j) * step_;
            correction[j] = static_cast<double>(strayed);
        }
        for (int j = 0; j < count; ++j) {
            const double s = anchorSine * rotationCosine_[j] + anchorCosine * rotationSine_[j];
            const double c = anchorCosine * rotationCosine_[j] - anchorSine * rotationSine_[j];
            const double d = correction[j];
            const double d2 = d * d;
            // sin(x + d) with sin d and cos d to their third-order terms. The anchor's phase is below
            // 2^38, so the rounded sample time moves a phase by at most about 2^38 * 2^-52 and |d| stays
            // below 2^-13: the fourth-order term is below 1e-17.
            sine[j] = s * (1.0 - 0.5 * d2) + c * (d - d * d2 * (1.0 / 6.0));
        }
        return true;
    }

    long double Phase(int i) const {
        const long double offset =
            i < kTabulatedOffsets ? offsets_[i] : static_cast<long double>(i) / kSampleRate;
        return SamplePhase(omega_, static_cast<double>(start_ + offset));
    }

private:
    double omega_;
    long double start_;
    long double step_;
    const long double* offsets_;
    double rotationSine_[kAnchorSpacing];
    double rotationCosine_[kAnchorSpacing];
};

// Nearest integer, halves to even, of |value| < 2^51, without a library call.
inline double RoundToNearest(double value) {
    constexpr double shifter = 0x1.8p52;
    return (value + shifter) - shifter;
}

void FillSine(std::int16_t* block, std::int32_t level, double omega, int frames, double& time) {
    if (level < -kReducedLevelLimit || level > kReducedLevelLimit) {
        FillSinePointwise(block, level, omega, frames, time);
        return;
    }
    const RotatingSine rotating(omega, time, frames);
    const double levelAsDouble = level;
    double sine[kAnchorSpacing];
    for (int first = 0; first <= frames; first += kAnchorSpacing) {
        const int count = std::min(kAnchorSpacing, frames + 1 - first);
        if (!rotating.Block(first, count, sine)) {
            for (int j = 0; j < count; ++j) {
                block[first + j] = ExactSineSample(rotating.Phase(first + j), level);
            }
            continue;
        }
        for (int j = 0; j < count; ++j) {
            const double value = sine[j] * levelAsDouble;
            const double nearest = RoundToNearest(value);
            if (std::fabs(value - nearest) <= 0.5 - kRoundingMargin) {
                block[first + j] = Low16(static_cast<std::int64_t>(nearest));
            } else {
                block[first + j] = ExactSineSample(rotating.Phase(first + j), level);
            }
        }
    }
    time = SampleTime(time, frames);
}

void FillSquare(std::int16_t* block, std::int32_t level, double omega, int frames, double& time) {
    const RotatingSine rotating(omega, time, frames);
    const std::int16_t high = Low16(level);
    // Widened first: -level of the lowest 32-bit value does not fit.
    const std::int16_t low = Low16(-static_cast<std::int64_t>(level));
    double sine[kAnchorSpacing];
    for (int first = 0; first <= frames; first += kAnchorSpacing) {
        const int count = std::min(kAnchorSpacing, frames + 1 - first);
        const bool rotated = rotating.Block(first, count, sine);
        for (int j = 0; j < count; ++j) {
            const bool certain = rotated && std::fabs(sine[j]) >= kSignMargin;
            const bool nonNegative =
                certain ? sine[j] > 0.0 : ExactSineNonNegative(rotating.Phase(first + j));
            block[first + j] = nonNegative ? high : low;
        }
    }
    time = SampleTime(time, frames);
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

void FillChannelPointwise(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                          std::int32_t frequencyWordLow32, int frames, double& time) {
    if (!PrepareFill(block, waveform, frames, time)) {
        return;
    }
    const double omega = AngularFrequency(frequencyWordLow32);
    if (waveform == static_cast<std::int32_t>(WaveformKind::Sine)) {
        FillSinePointwise(block, level, omega, frames, time);
    } else {
        FillSquarePointwise(block, level, omega, frames, time);
    }
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
