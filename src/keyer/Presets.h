#pragma once
// The keying mode presets of the beacon panel (CW, QRSS, DFCW) and the operator's custom mode. A preset
// only sets the transmission's keying mode and refreshes the estimate; it never starts, stops or times
// anything. Called on the user-interface thread.
#include "keyer/CustomMode.h"
#include "keyer/Transmission.h"
#include "platform/Notice.h"

#include <functional>

namespace tarvel::keyer {

class Presets {
public:
    static constexpr int kSpeedButtons = 16;
    // Row 0 is CW, rows 1 to 16 the speed buttons from left to right, QRSS row first.
    static constexpr int kRows = kSpeedButtons + 1;
    static constexpr int kNoRow = -1; // the custom mode: no speed button marked

    static const KeyingMode& preset(int row);

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
