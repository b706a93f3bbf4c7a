// Sample instants and phases of a tone, rounded exactly as every fill of a channel rounds them.
#pragma once

#include <cstdint>
#include <limits>

namespace tarvel::synth {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the tone phase needs the 80-bit extended type");

inline constexpr int kSampleRate = 44100;
inline constexpr long double kTwoPi = 6.283185307179586476925286766559L;

// Angular frequency in rad/s of a frequency word (1/4096 Hz), taken in extended precision, kept as a double.
inline double AngularFrequency(std::int32_t frequencyWord) {
    return static_cast<double>(static_cast<long double>(frequencyWord) * kTwoPi / 4096.0L);
}

// Instant of sample i of a buffer starting at startTime: always measured from the buffer's start, so
// rounding errors never accumulate from sample to sample.
inline double SampleTime(long double startTime, int i) {
    return static_cast<double>(startTime +
                               static_cast<long double>(i) / static_cast<long double>(kSampleRate));
}

inline long double SamplePhase(double omega, double t) {
    return static_cast<long double>(omega) * static_cast<long double>(t);
}

// The sample keeps the low 16 bits of the rounded value, as the sound card takes it.
inline std::int16_t Low16(std::int64_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

} // namespace tarvel::synth
