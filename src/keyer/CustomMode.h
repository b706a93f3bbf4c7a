#pragma once
// The operator's own keying mode: the five values of the custom-mode pop-up, each named after its settings
// key, with the ranges the keyer can take.
#include <cstdint>
#include <string>

namespace tarvel::keyer {

struct CustomMode {
    std::int32_t Dot = 5;      // dot length, whole seconds
    std::int32_t Dash = 1;     // dash = Dot x Dash
    std::int32_t pause = 2;    // element gap = Dot / pause
    std::int32_t Bpause = 3;   // letter gap = Dot x Bpause
    std::int32_t shiftFr = 20; // DFCW shift, 0.01 Hz

    // The ranges of the pop-up's spin fields. A field may hold a typed value outside them until it loses
    // the focus; values are brought inside before the keyer sees them (a pause of 0 would divide by zero,
    // a huge Dot would overflow the dot length in ms).
    static constexpr std::int32_t kDotMin = 1, kDotMax = 3600;
    static constexpr std::int32_t kDashMin = 1, kDashMax = 3;
    static constexpr std::int32_t kPauseMin = 1, kPauseMax = 10;
    static constexpr std::int32_t kBpauseMin = 1, kBpauseMax = 3;
    static constexpr std::int32_t kShiftMin = 0, kShiftMax = 200000;

    // "qrss" + Dot without a shift, "dfcw" + Dot with one: "qrss60", "dfcw5".
    std::string label() const { return (shiftFr == 0 ? "qrss" : "dfcw") + std::to_string(Dot); }

    bool operator==(const CustomMode&) const = default;
};

} // namespace tarvel::keyer
