#pragma once
// The bytes of an INI file seen through one section: finds a key's value and sets one key while every
// other byte (foreign sections, comments, odd spacing, line ends) stays exactly as it was.
#include <optional>
#include <string>
#include <string_view>

namespace tarvel::settings {

class IniDocument {
public:
    IniDocument(std::string text, std::string section);

    const std::string& text() const { return text_; }

    // The value of the first line holding key (matched without regard to case) in any copy of the
    // section: blanks around it trimmed, cut at a NUL byte, quotes kept. nullopt when there is none.
    std::optional<std::string> value(std::string_view key) const;

    // Replaces the first line holding key by "key=value" CR LF (the key keeps its spelling in the file),
    // else adds that line after the last key of the first copy of the section, else appends the section
    // at the end. The value ends at a NUL byte and its CR and LF become blanks, so it stays on its line.
    // key must be a plain name: not empty, no blanks around it, no '=', no control characters.
    void set(std::string_view key, std::string_view value);

    // Whether the text holds a header of the section at all: a settings file does, whatever its keys.
    bool hasSection() const { return find({}).lastOfSection.has_value(); }

    static bool isPlainKey(std::string_view key);

private:
    struct Line {
        std::size_t begin = 0; // first byte of the line
        std::size_t end = 0;   // end of its content, before CR LF or LF
        std::size_t next = 0;  // first byte of the following line
    };
    struct Found {
        std::optional<Line> keyLine;
        std::string keySpelling;
        std::optional<Line> lastOfSection; // the header or the last key line of the first copy
    };

    Found find(std::string_view key) const;

    std::string text_;
    std::string section_;
};

} // namespace tarvel::settings
