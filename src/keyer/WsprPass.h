#pragma once
// A WSPR-2 pass as the keyer's plan sends it: PTT at the frame's start, the carrier from the first symbol,
// one second later, to the end of the last; each symbol is a move of VFO A without a phase jump, so VFO A
// itself is the frequency a decoder reports. The timing is exact to the nanosecond from the first symbol.
#include "keyer/Wspr.h"

#include <cstdint>
#include <string>

namespace tarvel::keyer::wsprpass {

// The sequence symbols of a pass: "<" (PTT, the pause to the first symbol), kSymbolsMarker followed by the
// 162 symbols as the digits 0 to 3, and kCarrierEnd (key and PTT low).
inline constexpr char kSymbolsMarker = '{';
inline constexpr char kCarrierEnd = '}';

inline constexpr std::int64_t kFirstSymbolMs = 1000; // the frame's start to the first symbol
inline constexpr std::int64_t kSymbolsMs = 110'592;  // 162 symbols of 8192/12000 s
inline constexpr std::int64_t kPassMs = kFirstSymbolMs + kSymbolsMs;
inline constexpr double kToneSpacingHz = 12000.0 / 8192.0; // exact in binary

// Symbol k (0 to 162) starts this long after the first one: k x 8192/12000 s, rounded to the nanosecond
// from the first symbol, so no error adds up.
std::int64_t symbolStartNs(int k);
// Symbol s (0 to 3) is sent (s - 1.5) tone spacings from VFO A at the radio frequency.
double symbolOffsetHz(std::uint8_t symbol);

// The element sequence of a pass sending these symbols.
std::string sequence(const wspr::Symbols& symbols);

} // namespace tarvel::keyer::wsprpass
