#include "keyer/MorseTable.h"

#include <array>

namespace tarvel::keyer {
namespace {

struct Entry {
    unsigned char code;
    std::string_view codeString;
};

// Latin, digits, "?" and "/" are International Morse; "@" is sent as the end-of-message sign .-.-.;
// Cyrillic (Windows-1251 192..223, escaped to keep the source ASCII) follows Russian Morse. There is no
// entry for the hard sign (218), so it is skipped. Lowercase "a" gives the elements of A without echo.
constexpr std::array<Entry, MorseTable::kEntryCount> kEntries{{
    {' ', " ="},
    {'#', "#,"},
    {'/', "/-,*,*,-,*="},
    {'0', "0-,-,-,-,-="},
    {'1', "1*,-,-,-,-="},
    {'2', "2*,*,-,-,-="},
    {'3', "3*,*,*,-,-="},
    {'4', "4*,*,*,*,-="},
    {'5', "5*,*,*,*,*="},
    {'6', "6-,*,*,*,*="},
    {'7', "7-,-,*,*,*="},
    {'8', "8-,-,-,*,*="},
    {'9', "9-,-,-,-,*="},
    {'>', ">,"},
    {'?', "?*,*,-,-,*,*="},
    {'@', "@*,-,*,-,*="},
    {'A', "A*,-="},
    {'B', "B-,*,*,*="},
    {'C', "C-,*,-,*="},
    {'D', "D-,*,*="},
    {'E', "E*="},
    {'F', "F*,*,-,*="},
    {'G', "G-,-,*="},
    {'H', "H*,*,*,*="},
    {'I', "I*,*="},
    {'J', "J*,-,-,-="},
    {'K', "K-,*,-="},
    {'L', "L*,-,*,*="},
    {'M', "M-,-="},
    {'N', "N-,*="},
    {'O', "O-,-,-="},
    {'P', "P*,-,-,*="},
    {'Q', "Q-,-,*,-="},
    {'R', "R*,-,*="},
    {'S', "S*,*,*="},
    {'T', "T-="},
    {'U', "U*,*,-="},
    {'V', "V*,*,*,-="},
    {'W', "W*,-,-="},
    {'X', "X-,*,*,-="},
    {'Y', "Y-,*,-,-="},
    {'Z', "Z-,-,*,*="},
    {'^', "^"},
    {'a', "*,-="},
    {0xC0, "\xC0*,-="},       // A
    {0xC1, "\xC1-,*,*,*="},   // BE
    {0xC2, "\xC2*,-,-="},     // VE
    {0xC3, "\xC3-,-,*="},     // GHE
    {0xC4, "\xC4-,*,*="},     // DE
    {0xC5, "\xC5*="},         // IE
    {0xC6, "\xC6*,*,*,-="},   // ZHE
    {0xC7, "\xC7-,-,*,*="},   // ZE
    {0xC8, "\xC8*,*="},       // I
    {0xC9, "\xC9*,-,-,-="},   // SHORT I
    {0xCA, "\xCA-,*,-="},     // KA
    {0xCB, "\xCB*,-,*,*="},   // EL
    {0xCC, "\xCC-,-="},       // EM
    {0xCD, "\xCD-,*="},       // EN
    {0xCE, "\xCE-,-,-="},     // O
    {0xCF, "\xCF*,-,-,*="},   // PE
    {0xD0, "\xD0*,-,*="},     // ER
    {0xD1, "\xD1*,*,*="},     // ES
    {0xD2, "\xD2-="},         // TE
    {0xD3, "\xD3*,*,-="},     // U
    {0xD4, "\xD4*,*,-,*="},   // EF
    {0xD5, "\xD5*,*,*,*="},   // HA
    {0xD6, "\xD6-,*,-,*="},   // TSE
    {0xD7, "\xD7-,-,-,*="},   // CHE
    {0xD8, "\xD8-,-,-,-="},   // SHA
    {0xD9, "\xD9-,-,*,-="},   // SHCHA
    {0xDB, "\xDB-,*,-,-="},   // YERU
    {0xDC, "\xDC-,*,*,-="},   // SOFT SIGN
    {0xDD, "\xDD*,*,-,*,*="}, // E
    {0xDE, "\xDE*,*,-,-="},   // YU
    {0xDF, "\xDF*,-,*,-="},   // YA
}};

constexpr std::array<std::string_view, 256> buildIndex() {
    std::array<std::string_view, 256> index{};
    for (const Entry& e : kEntries)
        index[e.code] = e.codeString;
    return index;
}

// An empty view marks "no entry": every code string has at least one byte.
constexpr std::array<std::string_view, 256> kIndex = buildIndex();

} // namespace

std::optional<std::string_view> MorseTable::lookup(unsigned char code) {
    const std::string_view s = kIndex[code];
    if (s.empty())
        return std::nullopt;
    return s;
}

std::size_t MorseTable::size() {
    std::size_t n = 0;
    for (std::string_view s : kIndex)
        n += s.empty() ? 0 : 1;
    return n;
}

} // namespace tarvel::keyer
