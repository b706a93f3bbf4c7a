#pragma once
// The ranges of the values the operator sets on the VFOs, and the values they have before start-up
// restores any. The window's controls take them, and the beacon plays and pulls stored values by them.
#include "synth/ToneChannel.h"

#include <cstdint>

namespace tarvel::freqplan::limits {

struct Range {
    std::int32_t min;
    std::int32_t max;
};

// A range with the value shown before any is restored.
struct Setting {
    std::int32_t min;
    std::int32_t max;
    std::int32_t design;
};

inline constexpr Setting vfoACoarseHz{100, 2100000000, 480000};
// Hundredths of a hertz on top of the coarse value; the field carries 100 into the coarse value and
// borrows below 0, so a stored value outside this range was never tuned.
inline constexpr Range vfoAFineCentiHz{0, 99};
inline constexpr Setting vfoBHz{30000, 20000000, 135700};
// Each VFO's level is shown twice: on a bar, which the start of the tone loads, and in a field.
inline constexpr Setting levelBar{0, 32000, 22000};
inline constexpr Setting levelField{0, 32767, 20000};
// VFO A's tuning range where none is stored, or the stored one is no range to tune in.
inline constexpr Range defaultTuningRangeHz{22000, 550000};
inline constexpr std::int32_t lastWaveform = static_cast<std::int32_t>(synth::WaveformKind::Square);

} // namespace tarvel::freqplan::limits
