#include "keyer/Presets.h"

#include <algorithm>
#include <array>

namespace tarvel::keyer {
namespace {

// In CW and QRSS a dash is three dots on one frequency; in DFCW dots and dashes are equally long and the
// dot is sent dfcwShift lower. Values: dotMs, dashFactor, gapDivisor, letterGapFactor, dfcwShift, dfcwMode.
const std::array<KeyingMode, Presets::kRows> kPresets{{
    {" CW", {100, 3, 1, 3, 0, DfcwMode::Off}},
    {"QRSS1", {1000, 3, 1, 3, 0, DfcwMode::Off}},
    {"QRSS3", {3000, 3, 1, 3, 0, DfcwMode::Off}},
    {"QRSS10", {10000, 3, 1, 3, 0, DfcwMode::Off}},
    {"QRSS20", {20000, 3, 1, 3, 0, DfcwMode::Off}},
    {"QRSS30", {30000, 3, 1, 3, 0, DfcwMode::Off}},
    {"QRSS60", {60000, 3, 1, 3, 0, DfcwMode::Off}},
    {"QRSS90", {90000, 3, 1, 3, 0, DfcwMode::Off}},
    {"QRSS120", {120000, 3, 1, 3, 0, DfcwMode::Off}},
    {"DFCW3", {3000, 1, 3, 2, 200, DfcwMode::Dfcw}},
    {"DFCW10", {10000, 1, 4, 2, 100, DfcwMode::Dfcw}},
    {"DFCW20", {20000, 1, 4, 2, 70, DfcwMode::Dfcw}},
    {"DFCW30", {30000, 1, 3, 2, 40, DfcwMode::Dfcw}},
    {"DFCW60", {60000, 1, 2, 3, 20, DfcwMode::Dfcw}},
    {"DFCW90", {90000, 1, 2, 2, 20, DfcwMode::Dfcw}},
    {"DFCW120", {120000, 1, 2, 2, 20, DfcwMode::Dfcw}},
    {"DFCW240", {240000, 1, 2, 2, 10, DfcwMode::Dfcw}},
}};

} // namespace

const KeyingMode& Presets::preset(int row) {
    return kPresets[static_cast<std::size_t>(row)];
}

std::optional<KeyingMode> Presets::fskcw(std::int32_t dotSeconds, std::optional<std::int32_t> shiftCentiHz) {
    if (std::find(kFskcwDotSeconds.begin(), kFskcwDotSeconds.end(), dotSeconds) == kFskcwDotSeconds.end())
        return std::nullopt;
    // The DFCW rule: the shift of the DFCW preset with this dot; one second has none, and five hertz keeps
    // a one-second mark and space apart as clearly as DFCW3's two hertz do three-second ones.
    std::int32_t shift = 500;
    for (const KeyingMode& mode : kPresets)
        if (mode.values.dfcwMode == DfcwMode::Dfcw && mode.values.dotMs == dotSeconds * 1000)
            shift = mode.values.dfcwShift;
    return KeyingMode{"FSKCW" + std::to_string(dotSeconds),
                      {dotSeconds * 1000, 3, 1, 3, shiftCentiHz.value_or(shift), DfcwMode::Fskcw}};
}

Presets::Presets(Transmission& transmission) : transmission_(transmission) {}

void Presets::choose(int row) {
    marked_ = row;
    transmission_.setMode(preset(row));
    onChange();
    transmission_.refreshEstimate();
}

void Presets::chooseMode(const KeyingMode& mode) {
    marked_ = kNoRow;
    transmission_.setMode(mode);
    onChange();
    transmission_.refreshEstimate();
}

void Presets::setCustomMode(const CustomMode& shown) {
    custom_.dotSeconds = std::clamp(shown.dotSeconds, CustomMode::kDotMin, CustomMode::kDotMax);
    custom_.dashFactor = std::clamp(shown.dashFactor, CustomMode::kDashMin, CustomMode::kDashMax);
    custom_.gapDivisor = std::clamp(shown.gapDivisor, CustomMode::kPauseMin, CustomMode::kPauseMax);
    custom_.letterGapFactor =
        std::clamp(shown.letterGapFactor, CustomMode::kBpauseMin, CustomMode::kBpauseMax);
    custom_.shiftCentiHz = std::clamp(shown.shiftCentiHz, CustomMode::kShiftMin, CustomMode::kShiftMax);
}

void Presets::applyCustomMode() {
    transmission_.setKeying({custom_.dotSeconds * 1000, custom_.dashFactor, custom_.gapDivisor,
                             custom_.letterGapFactor, custom_.shiftCentiHz, DfcwMode::Dfcw});
}

void Presets::chooseCustomMode() {
    marked_ = kNoRow;
    transmission_.setMode({custom_.label(), transmission_.keying()});
    applyCustomMode();
    onChange();
    transmission_.refreshEstimate();
}

} // namespace tarvel::keyer
