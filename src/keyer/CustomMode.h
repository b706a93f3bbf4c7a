#pragma once
// The operator's own keying mode: the five values of the custom-mode pop-up, with the ranges the keyer
// can take.
#include <cstdint>
#include <string>

namespace tarvel::keyer {

struct CustomMode {
    std::int32_t dotSeconds = 5;      // dot length
    std::int32_t dashFactor = 1;      // dash = dot x dashFactor
    std::int32_t gapDivisor = 2;      // element gap = dot / gapDivisor
    std::int32_t letterGapFactor = 3; // letter gap = dot x letterGapFactor
    std::int32_t shiftCentiHz = 20;   // DFCW shift, 0.01 Hz

    // The ranges of the pop-up's spin fields. A field may hold a typed value outside them until it loses
    // the focus; values are brought inside before the keyer sees them (a pause of 0 would divide by zero,
    // a huge dot would overflow the dot length in ms).
    static constexpr std::int32_t kDotMin = 1, kDotMax = 3600;
    static constexpr std::int32_t kDashMin = 1, kDashMax = 3;
    static constexpr std::int32_t kPauseMin = 1, kPauseMax = 10;
    static constexpr std::int32_t kBpauseMin = 1, kBpauseMax = 3;
    static constexpr std::int32_t kShiftMin = 0, kShiftMax = 200000;

    // "qrss" + the dot's seconds without a shift, "dfcw" + them with one: "qrss60", "dfcw5".
    std::string label() const { return (shiftCentiHz == 0 ? "qrss" : "dfcw") + std::to_string(dotSeconds); }

    bool operator==(const CustomMode&) const = default;
};

} // namespace tarvel::keyer
