#pragma once
// The WSPR-2 message encoder: callsign, locator and power to the 162 four-level channel symbols of each
// message the station sends, or the reason they cannot be sent.
//
// A plain callsign with a 4-character locator is one message (call, locator, power). A compound callsign
// (a prefix of up to 3 letters or digits, "PJ4/K1ABC"; or a suffix of one letter or digit, "K1ABC/P", or
// of two digits from /10 to /99, "K1ABC/12") or a 6-character locator makes a pair sent on alternate
// passes: first the plain message (plain call) or the compound call and power, then the hash of the full
// callsign with the 6-character locator and power. A compound call with a 4-character locator sends the
// compound message alone: it carries no locator, and the hashed message needs all 6 characters.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel::keyer::wspr {

inline constexpr int kSymbolCount = 162;
using Symbols = std::array<std::uint8_t, kSymbolCount>; // channel symbols 0..3

// The messages a station sends on alternate passes (one, or the pair), or, when refusal is not empty, a
// sentence for the operator naming why the call, locator or power cannot be encoded.
struct Encoding {
    std::vector<Symbols> messages;
    std::string refusal;
};

// Upper-cases the inputs and trims spaces around them before encoding.
Encoding encode(std::string_view call, std::string_view locator, int powerDbm);

// The allowed powers: 0, 3, 7, 10, 13, ... 60 dBm (last digit 0, 3 or 7).
bool validPower(int powerDbm);

} // namespace tarvel::keyer::wspr
