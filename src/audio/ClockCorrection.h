#pragma once
// The correction factor and the sound card's clock offset it already cancels. The card's clock does not
// change when "Correct Freq" does, so a measurement after a correction must propose the factor in force
// again, never a second correction on top of the first: the factor is worked out from the one in force and
// the offset it cancels, and applying a factor stores the offset it cancels beside it.
#include "settings/IniFile.h"

#include <string>

namespace tarvel::audio {

// The largest offset a stored correction may claim to cancel: far beyond any sound card's crystal.
inline constexpr double kMaxCancelledPpm = 10000.0;

// The factor that cancels measuredPpm, from factorInForce, which already cancels cancelledPpm.
inline double correctedFactor(double factorInForce, double cancelledPpm, double measuredPpm) {
    return factorInForce * (1.0 + cancelledPpm * 1e-6) / (1.0 + measuredPpm * 1e-6);
}

// The offset the stored correction cancels ("CorrPpm", 0 when absent), or why it cannot be used: a value
// that is no number, or beyond kMaxCancelledPpm either way, makes every correction worked out from it wrong.
struct CancelledOffset {
    double ppm = 0.0;
    std::string refusal; // empty: usable
};
CancelledOffset readCancelledOffset(const settings::IniReader& settings);

} // namespace tarvel::audio
