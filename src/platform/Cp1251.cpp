#include "platform/Cp1251.h"

#include <array>
#include <cstdint>

namespace tarvel::platform {
namespace {

// Code points of bytes 0x80..0xBF; 0x98 has none.
constexpr std::array<char32_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t toCodePoint(unsigned char c) {
    if (c < 0x80)
        return c;
    if (c >= 0xC0)
        return 0x0410 + (c - 0xC0);
    return kHigh[c - 0x80];
}

int fromCodePoint(char32_t cp) {
    if (cp < 0x80)
        return static_cast<int>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return 0xC0 + static_cast<int>(cp - 0x0410);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp && cp != 0)
            return static_cast<int>(0x80 + i);
    return -1;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char ch : cp1251) {
        char32_t cp = toCodePoint(static_cast<unsigned char>(ch));
        appendUtf8(out, cp == 0 && ch != 0 ? U'\uFFFD' : cp);
    }
    return out;
}

std::string utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < utf8.size() + 0;
        for (int k = 1; valid && k <= extra; ++k) {
            if (i + k >= utf8.size()) {
                valid = false;
                break;
            }
            auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms (an ASCII character in disguise), surrogates and values beyond Unicode are not
        // characters.
        constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (valid && (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (const int code = fromCodePoint(cp); code >= 0)
            out += static_cast<char>(code);
    }
    return out;
}

std::string cp1251ToUpper(std::string_view cp1251) {
    std::string out(cp1251);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - 32);
        else if (c >= 0xE0)
            c = static_cast<unsigned char>(c - 32);
        else {
            // One line per letter pair, read as the table it is.
            // clang-format off
            switch (c) {
            case 0xB8: c = 0xA8; break;
            case 0x83: c = 0x81; break;
            case 0x90: c = 0x80; break;
            case 0x9A: c = 0x8A; break;
            case 0x9C: c = 0x8C; break;
            case 0x9D: c = 0x8D; break;
            case 0x9E: c = 0x8E; break;
            case 0x9F: c = 0x8F; break;
            case 0xA2: c = 0xA1; break;
            case 0xB3: c = 0xB2; break;
            case 0xB4: c = 0xA5; break;
            case 0xBA: c = 0xAA; break;
            case 0xBC: c = 0xA3; break;
            case 0xBE: c = 0xBD; break;
            case 0xBF: c = 0xAF; break;
            default: break;
            }
            // clang-format on
        }
        ch = static_cast<char>(c);
    }
    return out;
}

} // namespace tarvel::platform
