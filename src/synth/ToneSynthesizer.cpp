#include "synth/ToneSynthesizer.h"

#include "synth/ReducedSine.h"
#include "synth/SampleClock.h"
#include "synth/ToneChannel.h"

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
// sample and the exact sine settles the ones it cannot be sure of. Samples a..b-1 of a buffer from start.
void FillSinePointwise(std::int16_t* block, std::int32_t level, double omega, long double start, int a,
                       int b) {
    const bool reducible = level >= -kReducedLevelLimit && level <= kReducedLevelLimit;
    const double levelAsDouble = level;
    for (int i = a; i < b; ++i) {
        const long double phase = SamplePhase(omega, SampleTime(start, i));
        std::int64_t rounded;
        if (reducible && TryReducedSineSample(phase, levelAsDouble, rounded)) {
            block[i] = Low16(rounded);
        } else {
            block[i] = ExactSineSample(phase, level);
        }
    }
}

void FillSquarePointwise(std::int16_t* block, std::int32_t level, double omega, long double start, int a,
                         int b) {
    const std::int16_t high = Low16(level);
    // Widened first: -level of the lowest 32-bit value does not fit.
    const std::int16_t low = Low16(-static_cast<std::int64_t>(level));
    for (int i = a; i < b; ++i) {
        const long double phase = SamplePhase(omega, SampleTime(start, i));
        bool nonNegative;
        if (!TryReducedSineSign(phase, nonNegative)) {
            nonNegative = ExactSineNonNegative(phase);
        }
        block[i] = nonNegative ? high : low;
    }
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
    // samples: how many the fill takes from here (the rotations needed are at most that many).
    RotatingSine(double omega, double time, int samples)
        : omega_(omega), start_(time), step_(static_cast<long double>(omega) / kSampleRate),
          offsets_(TabulatedOffsets()) {
        const int count = std::min(samples, kAnchorSpacing);
        for (int j = 0; j < count; ++j) {
            // |j * step| stays below 5000 rad, well inside the reduction's range.
            ReducedSineCosine(static_cast<long double>(j) * step_, rotationSine_[j], rotationCosine_[j]);
        }
    }

    // Sines of samples first..first+count-1 (count at most kAnchorSpacing); false when the anchor lies
    // beyond the fast reduction's range.
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

// Samples a..b-1 of a buffer starting at time, on the channel-time formula.
void FillSine(std::int16_t* block, std::int32_t level, double omega, double time, int a, int b) {
    if (level < -kReducedLevelLimit || level > kReducedLevelLimit) {
        FillSinePointwise(block, level, omega, time, a, b);
        return;
    }
    const RotatingSine rotating(omega, time, b - a);
    const double levelAsDouble = level;
    double sine[kAnchorSpacing];
    for (int first = a; first < b; first += kAnchorSpacing) {
        const int count = std::min(kAnchorSpacing, b - first);
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
}

void FillSquare(std::int16_t* block, std::int32_t level, double omega, double time, int a, int b) {
    const RotatingSine rotating(omega, time, b - a);
    const std::int16_t high = Low16(level);
    // Widened first: -level of the lowest 32-bit value does not fit.
    const std::int16_t low = Low16(-static_cast<std::int64_t>(level));
    double sine[kAnchorSpacing];
    for (int first = a; first < b; first += kAnchorSpacing) {
        const int count = std::min(kAnchorSpacing, b - first);
        const bool rotated = rotating.Block(first, count, sine);
        for (int j = 0; j < count; ++j) {
            const bool certain = rotated && std::fabs(sine[j]) >= kSignMargin;
            const bool nonNegative =
                certain ? sine[j] > 0.0 : ExactSineNonNegative(rotating.Phase(first + j));
            block[first + j] = nonNegative ? high : low;
        }
    }
}

// The counted phase: whole units of 1/kPhaseUnitsPerCycle of a cycle, taken modulo one cycle.
constexpr long double kRadiansPerUnit = kTwoPi / static_cast<long double>(kPhaseUnitsPerCycle);

std::int64_t Wrapped(std::int64_t units) {
    const std::int64_t r = units % kPhaseUnitsPerCycle;
    return r < 0 ? r + kPhaseUnitsPerCycle : r;
}

// The phase n samples on: each sample turns it by the word (both factors below one cycle, so the product
// stays far inside 64 bits).
std::int64_t Advanced(std::int64_t units, std::int32_t word, std::int64_t n) {
    return Wrapped(units + Wrapped(word) * Wrapped(n));
}

// Where the channel-time formula puts sample i, in counted units: a continuous change goes on from there.
std::int64_t CountedUnitsOf(double omega, long double start, int i) {
    long double cycles = SamplePhase(omega, SampleTime(start, i)) / kTwoPi;
    cycles -= std::floor(cycles);
    return Wrapped(std::llrint(cycles * static_cast<long double>(kPhaseUnitsPerCycle)));
}

// Samples a..b-1 on the counted phase, units being sample a's: rotated on from an exact anchor every
// kAnchorSpacing samples, the rotations from the word's own whole-unit steps, so nothing strays.
void FillSineCounted(std::int16_t* block, std::int32_t level, std::int32_t word, std::int64_t units, int a,
                     int b) {
    const auto exact = [&](std::int64_t u) {
        return ExactSineSample(kRadiansPerUnit * static_cast<long double>(u), level);
    };
    if (level < -kReducedLevelLimit || level > kReducedLevelLimit) {
        for (int i = a; i < b; ++i)
            block[i] = exact(Advanced(units, word, i - a));
        return;
    }
    double rotationSine[kAnchorSpacing];
    double rotationCosine[kAnchorSpacing];
    const int rotations = std::min(b - a, kAnchorSpacing);
    for (int j = 0; j < rotations; ++j) {
        ReducedSineCosine(kRadiansPerUnit * static_cast<long double>(Advanced(0, word, j)), rotationSine[j],
                          rotationCosine[j]);
    }
    const double levelAsDouble = level;
    for (int first = a; first < b; first += kAnchorSpacing) {
        const int count = std::min(kAnchorSpacing, b - first);
        const std::int64_t anchor = Advanced(units, word, first - a);
        // A counted phase is below one cycle, always inside the reduction's range.
        double anchorSine = 0.0;
        double anchorCosine = 0.0;
        ReducedSineCosine(kRadiansPerUnit * static_cast<long double>(anchor), anchorSine, anchorCosine);
        for (int j = 0; j < count; ++j) {
            const double value =
                (anchorSine * rotationCosine[j] + anchorCosine * rotationSine[j]) * levelAsDouble;
            const double nearest = RoundToNearest(value);
            block[first + j] = std::fabs(value - nearest) <= 0.5 - kRoundingMargin
                                   ? Low16(static_cast<std::int64_t>(nearest))
                                   : exact(Advanced(anchor, word, j));
        }
    }
}

// The sine of a counted phase is exactly non-negative over the first half cycle, both ends included.
void FillSquareCounted(std::int16_t* block, std::int32_t level, std::int32_t word, std::int64_t units, int a,
                       int b) {
    const std::int16_t high = Low16(level);
    const std::int16_t low = Low16(-static_cast<std::int64_t>(level));
    const std::int64_t step = Wrapped(word);
    std::int64_t u = units;
    for (int i = a; i < b; ++i) {
        block[i] = 2 * u <= kPhaseUnitsPerCycle ? high : low;
        u += step;
        if (u >= kPhaseUnitsPerCycle)
            u -= kPhaseUnitsPerCycle;
    }
}

} // namespace

void FillChannel(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                 std::int32_t frequencyWordLow32, int frames, double& time, CountedPhase& phase,
                 const FrequencyChange* changes, int changeCount) {
    if (!PrepareFill(block, waveform, frames, time)) {
        if (frames >= 0 && waveform == static_cast<std::int32_t>(WaveformKind::Off))
            phase = {};
        return;
    }
    const bool square = waveform == static_cast<std::int32_t>(WaveformKind::Square);
    std::int32_t word = frequencyWordLow32;
    int a = 0;
    for (int c = 0;; ++c) {
        // The last stretch runs through the unplayed sample; the counted phase stops at it, as time does.
        const bool last = c == changeCount;
        const int b = last ? frames + 1 : std::clamp(changes[c].at, a, frames);
        if (phase.on) {
            if (square)
                FillSquareCounted(block, level, word, phase.units, a, b);
            else
                FillSineCounted(block, level, word, phase.units, a, b);
            phase.units = Advanced(phase.units, word, (last ? frames : b) - a);
        } else if (b > a) {
            const double omega = AngularFrequency(word);
            if (square)
                FillSquare(block, level, omega, time, a, b);
            else
                FillSine(block, level, omega, time, a, b);
        }
        if (last)
            break;
        if (!changes[c].continuous)
            phase.on = false;
        else if (!phase.on)
            phase = {true, CountedUnitsOf(AngularFrequency(word), time, b)};
        word = changes[c].word;
        a = b;
    }
    time = SampleTime(time, frames);
}

void FillChannel(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                 std::int32_t frequencyWordLow32, int frames, double& time) {
    CountedPhase timed;
    FillChannel(block, waveform, level, frequencyWordLow32, frames, time, timed, nullptr, 0);
}

void PrepareFill() {
    TabulatedOffsets();
}

void FillChannel(std::int16_t* block, ToneChannel& channel, int frames) {
    const std::int32_t waveform = channel.waveform.load(std::memory_order_relaxed);
    const std::int32_t level = channel.level.load(std::memory_order_relaxed);
    // Low half of the word, read as signed (modular conversion).
    const auto word = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(channel.frequencyWord.load(std::memory_order_relaxed)));
    FillChannel(block, waveform, level, word, frames, channel.time, channel.phase, nullptr, 0);
}

void FillChannelPointwise(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                          std::int32_t frequencyWordLow32, int frames, double& time) {
    if (!PrepareFill(block, waveform, frames, time)) {
        return;
    }
    const double omega = AngularFrequency(frequencyWordLow32);
    if (waveform == static_cast<std::int32_t>(WaveformKind::Sine)) {
        FillSinePointwise(block, level, omega, time, 0, frames + 1);
    } else {
        FillSquarePointwise(block, level, omega, time, 0, frames + 1);
    }
    time = SampleTime(time, frames);
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
