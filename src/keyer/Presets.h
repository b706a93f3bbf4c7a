#pragma once
// The keying mode presets of the beacon panel (CW, QRSS, DFCW) and the operator's custom mode. A preset
// only sets the transmission's keying mode and refreshes the estimate; it never starts, stops or times
// anything. Called on the user-interface thread.
#include "keyer/CustomMode.h"
#include "keyer/Transmission.h"
#include "platform/Notice.h"

#include <array>
#include <functional>
#include <optional>

namespace tarvel::keyer {

class Presets {
public:
    static constexpr int kSpeedButtons = 16;
    // Row 0 is CW, rows 1 to 16 the speed buttons from left to right, QRSS row first.
    static constexpr int kRows = kSpeedButtons + 1;
    static constexpr int kNoRow = -1; // the custom mode: no speed button marked

    static const KeyingMode& preset(int row);

    // FSKCW at the QRSS row's dots (1, 3, 10, 20, 30, 60, 90 or 120 s): a dash of three dots, the QRSS
    // gaps, the carrier shifted down for the gaps by shiftCentiHz, or by the DFCW preset's shift for the
    // same dot when none is given (500 = 5 Hz for FSKCW1, which has no DFCW twin). Labelled "FSKCW3".
    // Not a row: the window's preset buttons stay as they are. Empty for any other dot.
    static constexpr std::array<std::int32_t, 8> kFskcwDotSeconds{1, 3, 10, 20, 30, 60, 90, 120};
    static std::optional<KeyingMode> fskcw(std::int32_t dotSeconds,
                                           std::optional<std::int32_t> shiftCentiHz = std::nullopt);

    explicit Presets(Transmission& transmission);

    // A preset row: its mode, the mark, and the estimate.
    void choose(int row);
    // The marked row: the last preset chosen, kNoRow after the custom mode or before any choice.
    int markedRow() const { return marked_; }

    // The values the pop-up shows, each brought inside its range (a pause of 0 would divide by zero, a
    // huge dot would overflow the dot length in ms).
    void setCustomMode(const CustomMode& shown);
    const CustomMode& customMode() const { return custom_; }
    // The custom values as the keying values; the mode label stays. Always DFCW handling, also without a
    // shift: the transmission then retunes by 0.
    void applyCustomMode();
    // The custom button's click: applied, no mark, its own label, and the estimate.
    void chooseCustomMode();
    // A mode that is no row (FSKCW, WSPR): applied, no mark, and the estimate.
    void chooseMode(const KeyingMode& mode);
    // The pop-up's "Ok": the custom values told to be stored (customSaved: Dot, Dash, pause, Bpause,
    // shiftFr, in this order). The keying values change at the next press on the custom button.
    void saveCustomMode() { customSaved(custom_); }
    platform::Notice<const CustomMode&> customSaved;

    // After choose() and chooseCustomMode(): the marks and the mode label to show.
    platform::Notice<> onChange;

private:
    Transmission& transmission_;
    CustomMode custom_;
    int marked_ = kNoRow;
};

} // namespace tarvel::keyer
