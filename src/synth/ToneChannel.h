// One output channel's tone: set by the user-interface thread, filled buffer by buffer by the audio worker.
#pragma once

#include <atomic>
#include <cstdint>

namespace tarvel::synth {

// Item index of a channel's waveform radio group, None when no item is chosen. None, and any other value
// (the settings file keeps the number), leaves a fill undone.
enum class WaveformKind : std::int32_t { None = -1, Off = 0, Sine = 1, Square = 2 };

// Units of the counted phase in one cycle: a frequency word (1/4096 Hz) turns it by word units per sample.
inline constexpr std::int64_t kPhaseUnitsPerCycle = 4096LL * 44100;

// The phase of a channel counted in whole units of 1/(4096 * 44100) of a cycle, while phase-continuous
// frequency changes are in force: a sample turns it by exactly its frequency word, so it never drifts.
struct CountedPhase {
    bool on = false;
    std::int64_t units = 0; // of the next sample to be played, 0 <= units < kPhaseUnitsPerCycle
};

// The user-interface thread writes waveform, level and frequencyWord at any moment; the audio worker takes
// each once per buffer. time belongs to the worker while a stream runs (Start and the worker's end reset it).
struct ToneChannel {
    std::atomic<std::int32_t> waveform{0};
    std::atomic<std::int32_t> level{0};
    // Tone frequency in 1/4096 Hz; only the low 32 bits reach the sample loop.
    std::atomic<std::int64_t> frequencyWord{0};
    // Instant of the next sample to be played, in seconds from the channel's origin.
    double time = 0.0;
    // The worker's, like time: the counted phase of a channel moved without phase jumps.
    CountedPhase phase;
};

} // namespace tarvel::synth
