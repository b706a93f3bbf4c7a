#include "keyer/Wspr.h"

#include <bit>
#include <cstddef>
#include <optional>

namespace tarvel::keyer::wspr {
namespace {

// The pseudo-random sync vector: the low bit of every channel symbol.
constexpr std::array<std::uint8_t, kSymbolCount> kSync = {
    1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 0, 0, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0,
    0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0,
    0, 1, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 1, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0, 0, 0, 1,
    0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0,
    0, 1, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0,
};

constexpr int kSpace = 36;
constexpr std::size_t kMaxBaseCall = 6;
constexpr std::size_t kMaxPrefix = 3;
// The compound field of a suffixed call starts above every 3-character prefix (37^3 < 60000); two-digit
// suffixes follow the 36 one-character ones, offset so that /10 lands just past /Z.
constexpr std::uint32_t kOneCharSuffixBase = 60000;
constexpr std::uint32_t kTwoDigitSuffixBase = 60026;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

// 0-9, A-Z and the space as the values 0..36 the packing counts in.
int valueOf(char c) {
    if (isDigit(c))
        return c - '0';
    if (isLetter(c))
        return c - 'A' + 10;
    return kSpace;
}

std::string normalised(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::string s(text);
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

// The operator's text inside a refusal: control bytes shown as "?", and cut short so a pasted page
// cannot flood the message.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 16;
    std::string s = "\"";
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        s += c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    }
    return s + (text.size() > kShown ? "...\"" : "\"");
}

// A base callsign as 28 bits: 37 x 36 x 10 x 27 x 27 x 27 values, the digit always in the 3rd place.
std::optional<std::uint32_t> packCall(std::string call) {
    if (call.size() > kMaxBaseCall)
        return std::nullopt;
    // Eswatini's "3DA0" calls travel as "3D0" and are read back with the "A".
    if (call.starts_with("3DA0"))
        call.erase(2, 1);
    if (call.size() >= 2 && isDigit(call[1]) && (call.size() == 2 || !isDigit(call[2])))
        call.insert(call.begin(), ' ');
    if (call.size() > kMaxBaseCall)
        return std::nullopt;
    call.resize(kMaxBaseCall, ' ');
    const auto letterOrDigit = [](char c) { return isLetter(c) || isDigit(c); };
    if (!(letterOrDigit(call[0]) || call[0] == ' ') || !letterOrDigit(call[1]) || !isDigit(call[2]))
        return std::nullopt;
    std::uint32_t n = valueOf(call[0]);
    n = n * 36 + valueOf(call[1]);
    n = n * 10 + valueOf(call[2]);
    for (std::size_t i = 3; i < kMaxBaseCall; ++i) {
        // Only letters follow the digit (the caller lets no space in, so spaces only pad the end).
        if (!isLetter(call[i]) && call[i] != ' ')
            return std::nullopt;
        n = n * 27 + (valueOf(call[i]) - 10);
    }
    return n;
}

// The 32-bit lookup3 "hashlittle" of a key of 1 to 12 bytes (a callsign is at most 10), read as
// little-endian words as the receivers do; longer keys would need the mixing rounds this leaves out.
std::uint32_t hashLittle(std::string_view key, std::uint32_t initval) {
    std::array<std::uint32_t, 3> words{}; // a, b, c
    for (std::size_t i = 0; i < key.size(); ++i)
        words[i / 4] += std::uint32_t{static_cast<unsigned char>(key[i])} << (8 * (i % 4));
    const std::uint32_t start = 0xdeadbeef + static_cast<std::uint32_t>(key.size()) + initval;
    std::uint32_t a = start + words[0];
    std::uint32_t b = start + words[1];
    std::uint32_t c = start + words[2];
    c ^= b, c -= std::rotl(b, 14);
    a ^= c, a -= std::rotl(c, 11);
    b ^= a, b -= std::rotl(a, 25);
    c ^= b, c -= std::rotl(b, 16);
    a ^= c, a -= std::rotl(c, 4);
    b ^= a, b -= std::rotl(a, 14);
    c ^= b, c -= std::rotl(b, 24);
    return c;
}

std::uint32_t callHash(std::string_view call) {
    return hashLittle(call, 146) & 0x7fff;
}

// The 50 source bits (28 for the call field, 22 for the locator/power field) through the K=32, r=1/2
// convolutional code, interleaved by bit-reversed address and merged with the sync vector.
Symbols channelSymbols(std::uint32_t callField, std::uint32_t powerField) {
    constexpr int kSourceBits = 50;
    constexpr int kTailBits = 31;
    const std::uint64_t source = (std::uint64_t{callField} << 22) | (powerField & 0x3fffff);
    std::array<std::uint8_t, kSymbolCount> coded{};
    std::uint32_t shiftRegister = 0;
    std::size_t k = 0;
    for (int i = 0; i < kSourceBits + kTailBits; ++i) {
        const auto bit =
            i < kSourceBits ? static_cast<std::uint32_t>(source >> (kSourceBits - 1 - i)) & 1 : 0;
        shiftRegister = (shiftRegister << 1) | bit;
        coded[k++] = std::popcount(shiftRegister & 0xf2d05351u) & 1;
        coded[k++] = std::popcount(shiftRegister & 0xe4613c47u) & 1;
    }
    Symbols symbols{};
    std::size_t taken = 0;
    for (unsigned address = 0; taken < coded.size(); ++address) {
        unsigned j = 0;
        for (int bit = 0; bit < 8; ++bit)
            j |= ((address >> bit) & 1u) << (7 - bit);
        if (j < kSymbolCount)
            symbols[j] = static_cast<std::uint8_t>(kSync[j] + 2 * coded[taken++]);
    }
    return symbols;
}

// The callsign split into the packed base call and, for a compound call, its 16-bit prefix or suffix
// field; or why it cannot be sent.
struct Callsign {
    std::uint32_t base = 0;
    std::optional<std::uint32_t> compound;
    std::string refusal;
};

Callsign parseCall(const std::string& call) {
    Callsign parsed;
    if (call.empty()) {
        parsed.refusal = "no callsign is set";
        return parsed;
    }
    const auto slash = call.find('/');
    for (char c : call) {
        if (!isLetter(c) && !isDigit(c) && c != '/') {
            parsed.refusal =
                "the callsign " + quoted(call) + " holds a character other than letters, digits and \"/\"";
            return parsed;
        }
    }
    if (slash != std::string::npos && call.find('/', slash + 1) != std::string::npos) {
        parsed.refusal = "the callsign " + quoted(call) + " has more than one \"/\"";
        return parsed;
    }
    std::string base = call;
    if (slash != std::string::npos) {
        const std::string before = call.substr(0, slash);
        const std::string after = call.substr(slash + 1);
        if (after.size() <= 2) {
            base = before;
            if (after.size() == 1) {
                parsed.compound = kOneCharSuffixBase + valueOf(after[0]);
            } else if (after.size() == 2 && isDigit(after[0]) && isDigit(after[1]) && after[0] != '0') {
                parsed.compound = kTwoDigitSuffixBase +
                                  static_cast<std::uint32_t>(10 * (after[0] - '0') + (after[1] - '0'));
            } else if (after.size() == 2 && isDigit(after[0]) && isDigit(after[1])) {
                const char heardAs = static_cast<char>('Q' + (after[1] - '0'));
                parsed.refusal = "the suffix \"/" + after + "\" of " + quoted(call) +
                                 " would be received as \"/" + heardAs +
                                 "\": two-digit suffixes run from /10 to /99";
                return parsed;
            } else {
                parsed.refusal = "the suffix \"/" + after + "\" of " + quoted(call) +
                                 " is not one letter or digit, nor two digits";
                return parsed;
            }
        } else {
            base = after;
            if (before.empty() || before.size() > kMaxPrefix) {
                parsed.refusal = "the prefix " + quoted(before) + " of " + quoted(call) +
                                 " is not 1 to 3 letters or digits";
                return parsed;
            }
            // Right-aligned in three places, padded with spaces.
            std::uint32_t field = 0;
            for (std::size_t i = before.size(); i < kMaxPrefix; ++i)
                field = field * 37 + kSpace;
            for (char c : before)
                field = field * 37 + valueOf(c);
            parsed.compound = field;
        }
    }
    const auto packed = packCall(base);
    if (!packed) {
        const std::string rule = " is not at most 6 letters and digits with a digit as its 2nd or 3rd "
                                 "character and only letters after that digit";
        parsed.refusal = base == call ? "the callsign " + quoted(call) + rule
                                      : "the base call " + quoted(base) + " of " + quoted(call) + rule;
        return parsed;
    }
    parsed.base = *packed;
    return parsed;
}

bool validLocator(const std::string& locator) {
    if (locator.size() != 4 && locator.size() != 6)
        return false;
    const auto field = [](char c) { return c >= 'A' && c <= 'R'; };
    const auto subsquare = [](char c) { return c >= 'A' && c <= 'X'; };
    return field(locator[0]) && field(locator[1]) && isDigit(locator[2]) && isDigit(locator[3]) &&
           (locator.size() == 4 || (subsquare(locator[4]) && subsquare(locator[5])));
}

// Type 1: call, 4-character locator and power.
Symbols plainMessage(std::uint32_t call, const std::string& locator, int powerDbm) {
    const auto at = [&](std::size_t i) { return static_cast<std::uint32_t>(locator[i]); };
    const std::uint32_t square =
        (179 - 10 * (at(0) - 'A') - (at(2) - '0')) * 180 + 10 * (at(1) - 'A') + (at(3) - '0');
    return channelSymbols(call, square * 128 + static_cast<std::uint32_t>(powerDbm) + 64);
}

// Type 2: the base call, its prefix or suffix field (15 bits, the 16th added to the power) and power.
Symbols compoundMessage(std::uint32_t call, std::uint32_t compound, int powerDbm) {
    const std::uint32_t carry = compound >> 15;
    return channelSymbols(call,
                          (compound & 0x7fff) * 128 + static_cast<std::uint32_t>(powerDbm) + 1 + carry + 64);
}

// Type 3: the 6-character locator rotated by one place and packed as a call, the call's hash, and the
// power as a negative type.
Symbols hashedMessage(const std::string& call, const std::string& locator, int powerDbm) {
    const auto rotated = packCall(locator.substr(1) + locator[0]);
    return channelSymbols(*rotated, callHash(call) * 128 + 64 - static_cast<std::uint32_t>(powerDbm + 1));
}

} // namespace

bool validPower(int powerDbm) {
    const int lastDigit = powerDbm % 10;
    return powerDbm >= 0 && powerDbm <= 60 && (lastDigit == 0 || lastDigit == 3 || lastDigit == 7);
}

Encoding encode(std::string_view callText, std::string_view locatorText, int powerDbm) {
    Encoding encoding;
    const std::string call = normalised(callText);
    const std::string locator = normalised(locatorText);
    const Callsign parsed = parseCall(call);
    if (!parsed.refusal.empty()) {
        encoding.refusal = parsed.refusal;
        return encoding;
    }
    if (locator.empty()) {
        encoding.refusal = "no locator is set (4 or 6 characters of a Maidenhead grid)";
        return encoding;
    }
    if (!validLocator(locator)) {
        encoding.refusal =
            "the locator " + quoted(locator) + " is not 4 or 6 characters of a Maidenhead grid";
        return encoding;
    }
    if (!validPower(powerDbm)) {
        encoding.refusal = "the power " + std::to_string(powerDbm) +
                           " dBm cannot be sent: the allowed powers are 0, 3, 7, 10, 13, 17 ... 60 dBm";
        return encoding;
    }
    if (parsed.compound)
        encoding.messages.push_back(compoundMessage(parsed.base, *parsed.compound, powerDbm));
    else
        encoding.messages.push_back(plainMessage(parsed.base, locator, powerDbm));
    if (locator.size() == 6)
        encoding.messages.push_back(hashedMessage(call, locator, powerDbm));
    return encoding;
}

} // namespace tarvel::keyer::wspr
