#pragma once
// Every key of the settings file, spelled as in the file, with its type and the value a read yields when
// the key is missing. Where start-up keeps what a control shows for a missing key, that value is given
// here as the control's design value, and the read passes the control's own.
#include "settings/Key.h"

#include <variant>

namespace tarvel::settings::keys {

// VFO A: the frequency that Start stores, in Hz and in 0.01 Hz; waveform, offset, factor.
inline constexpr IntegerKey vfoACoarse{"freq", 0};
inline constexpr IntegerKey vfoAFine{"01x", 0};
inline constexpr IntegerKey vfoAWaveform{"TA", 0};
inline constexpr IntegerKey vfoAOffset{"FpA", 0};
inline constexpr IntegerKey vfoAFactor{"N", 16};
// VFO B: frequency in Hz, waveform, offset, factor.
inline constexpr IntegerKey vfoBFrequency{"frrx", 0};
inline constexpr IntegerKey vfoBWaveform{"TB", 0};
inline constexpr IntegerKey vfoBOffset{"Fp", 0};
inline constexpr IntegerKey vfoBFactor{"Nrx", 32};
inline constexpr RealKey correction{"corr", 1.0};
// The sound card's clock offset in ppm that "corr" already cancels, stored with a measured correction
// (absent: none); typing "corr" by hand leaves it as it is.
inline constexpr RealKey correctionCancelsPpm{"CorrPpm", 0.0};
// VFO A's tuning range and which VFOs the compact layout shows (1 = shown).
inline constexpr IntegerKey rangeMin{"MinF", 0};
inline constexpr IntegerKey rangeMax{"MaxF", 0};
inline constexpr IntegerKey compactShowsVfoA{"VA", 0};
inline constexpr IntegerKey compactShowsVfoB{"VB", 0};
// The memories' coarse and fine values.
inline constexpr IntegerKeyFamily memoryCoarse{"freq", 1, 18, 0};
inline constexpr IntegerKeyFamily memoryFine{"01x", 1, 18, 0};

// The serial port: which of the two, which line keys, and the two device names.
inline constexpr IntegerKey portChoice{"iCom", 0};
inline constexpr IntegerKey keyLineChoice{"iRTS", 0};
inline constexpr TextKey port1Device{"Port1", "/dev/ttyS0"};
inline constexpr TextKey port2Device{"Port2", "/dev/ttyS1"};
// The four stored beacon messages.
inline constexpr TextKeyFamily messages{"TXT", 1, 4, ""};
// The custom keying values.
inline constexpr IntegerKey customDot{"Dot", 0};
inline constexpr IntegerKey customDash{"Dash", 0};
inline constexpr IntegerKey customPause{"pause", 0};
inline constexpr IntegerKey customLetterPause{"Bpause", 0};
inline constexpr IntegerKey customShift{"shiftFr", 0};
// Station identification: speeds (1 CW, 2 QRSS3) and texts.
inline constexpr IntegerKey endIdSpeed{"id", 0};
inline constexpr IntegerKey startIdSpeed{"ids", 0};
inline constexpr TextKey startIdText{"IDStart", ""};
inline constexpr TextKey endIdText{"IDEnd", ""};

// The sound card and its buffer size in KiB.
inline constexpr TextKey audioDevice{"AudioDevice", "default"};
inline constexpr IntegerKey bufferKiB{"Buffer", 64};
// 1: the audio device may be any PCM name, also one that makes the sound library write a file or run a
// command; otherwise only plain names are opened. Only ever read.
inline constexpr IntegerKey audioDeviceAnyPcm{"AudioDeviceAnyPcm", 0};
// The logging switch (1 = on) and the process priority (1 real time, 2 high, 3 normal).
inline constexpr IntegerKey logging{"log", 0};
inline constexpr IntegerKey priority{"iPr", 3};
// The window's WSPR-2 beacon: call, locator, power in dBm and the share of frames sent, in %; stored
// at "TX" when the message encodes.
inline constexpr TextKey wsprCall{"WsprCall", ""};
inline constexpr TextKey wsprLocator{"WsprLocator", ""};
inline constexpr IntegerKey wsprPower{"WsprPower", 37};
inline constexpr IntegerKey wsprTxPercent{"WsprTxPercent", 20};

// All of the above, for checks over the whole table.
using AnyKey = std::variant<const IntegerKey*, const RealKey*, const TextKey*, const IntegerKeyFamily*,
                            const TextKeyFamily*>;
inline constexpr AnyKey all[]{
    &vfoACoarse,        &vfoAFine,         &vfoAWaveform, &vfoAOffset,
    &vfoAFactor,        &vfoBFrequency,    &vfoBWaveform, &vfoBOffset,
    &vfoBFactor,        &correction,       &rangeMin,     &rangeMax,
    &compactShowsVfoA,  &compactShowsVfoB, &memoryCoarse, &memoryFine,
    &portChoice,        &keyLineChoice,    &port1Device,  &port2Device,
    &messages,          &customDot,        &customDash,   &customPause,
    &customLetterPause, &customShift,      &endIdSpeed,   &startIdSpeed,
    &startIdText,       &endIdText,        &audioDevice,  &bufferKiB,
    &audioDeviceAnyPcm, &logging,          &priority,     &correctionCancelsPpm,
    &wsprCall,          &wsprLocator,      &wsprPower,    &wsprTxPercent,
};

} // namespace tarvel::settings::keys
