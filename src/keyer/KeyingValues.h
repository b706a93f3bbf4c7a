#pragma once
// The six keying values that time and shape the Morse elements, with the CW values as defaults.
#include <cstdint>
#include <string>

namespace tarvel::keyer {

// How the shift is used; the presets' numbers. Dfcw: VFO A retuned at each gap for the next element (dots
// dfcwShift lower). Fskcw: the key stays down from the first mark to the end, marks on VFO A and every gap
// dfcwShift lower, moved without a phase jump at the element edges.
enum class DfcwMode : std::int32_t { Off = 0, Dfcw = 1, Fskcw = 2 };

struct KeyingValues {
    std::int32_t dotMs = 100;         // dot length, ms
    std::int32_t dashFactor = 3;      // dash = dotMs x dashFactor
    std::int32_t gapDivisor = 1;      // element gap = dotMs / gapDivisor
    std::int32_t letterGapFactor = 3; // letter gap = dotMs x letterGapFactor
    std::int32_t dfcwShift = 0;       // 0.01 Hz subtracted from VFO A for DFCW dots, FSKCW gaps
    DfcwMode dfcwMode = DfcwMode::Off;

    bool operator==(const KeyingValues&) const = default;
};

// A keying mode as the beacon panel names it: the label quoted in the log, and its values.
struct KeyingMode {
    std::string label;
    KeyingValues values;

    bool operator==(const KeyingMode&) const = default;
};

// The element gap for the keyer's timer: tt / gapDivisor as a real division, rounded to the nearest
// whole millisecond with halves to even (1000 / 3 -> 333, 5 / 2 -> 2). A zero divisor is a floating-point
// fault and throws platform::Failure ("Floating point division by zero", or "Invalid floating point
// operation" for 0 / 0); no preset or custom value can produce it.
std::int64_t ElementGapMilliseconds(std::int32_t tt, std::int32_t gapDivisor);

// tt / gapDivisor unrounded, in extended precision, as the estimate adds it; the same zero-divisor faults.
long double ElementGapExact(std::int32_t tt, std::int32_t gapDivisor);

} // namespace tarvel::keyer
