#pragma once
// The fixed table from a Windows-1251 character to its code string: echo character, elements separated
// by ",", closed by "=" (the letter A is "A*,-="); the markers and the space have their own forms.
#include <cstddef>
#include <optional>
#include <string_view>

namespace tarvel::keyer {

class MorseTable {
public:
    static constexpr std::size_t kEntryCount = 75;

    // The code string (Windows-1251 bytes) of a character, or nullopt when the table has no entry.
    static std::optional<std::string_view> lookup(unsigned char code);
    static std::optional<std::string_view> lookup(char code) {
        return lookup(static_cast<unsigned char>(code));
    }

    // Number of characters with an entry.
    static std::size_t size();
};

} // namespace tarvel::keyer
