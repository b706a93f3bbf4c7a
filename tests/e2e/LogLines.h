#pragma once
// Reading "vfolog.txt" as an operator sees it: its CR LF lines and the shapes of their dates and times.
#include <string>
#include <string_view>
#include <vector>

namespace tarvel::e2e {

// The lines of a text whose every line ends with CR LF; a text that breaks that rule yields the whole
// text as one line, which no expectation matches.
inline std::vector<std::string> crlfLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find("\r\n");
        if (end == std::string_view::npos)
            return {std::string(text)};
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    return lines;
}

inline bool isDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.empty();
}

// The long time form: "H:mm:ss" or "HH:mm:ss".
inline bool isTime(std::string_view text) {
    const auto colon = text.find(':');
    return (colon == 1 || colon == 2) && text.size() == colon + 6 && isDigits(text.substr(0, colon)) &&
           isDigits(text.substr(colon + 1, 2)) && text[colon + 3] == ':' && isDigits(text.substr(colon + 4));
}

// The short date form: "dd.MM.yyyy".
inline bool isDate(std::string_view text) {
    return text.size() == 10 && isDigits(text.substr(0, 2)) && text[2] == '.' &&
           isDigits(text.substr(3, 2)) && text[5] == '.' && isDigits(text.substr(6));
}

// The logging-on header line: "--- ", the date, 33 hyphens, the time.
inline bool isHeaderLine(std::string_view line) {
    return line.size() > 47 && line.substr(0, 4) == "--- " && isDate(line.substr(4, 10)) &&
           line.substr(14, 33) == std::string(33, '-') && isTime(line.substr(47));
}

// A record: the prefix, the time, then exactly the rest (nothing when rest is empty).
inline bool isRecord(std::string_view line, std::string_view prefix, std::string_view rest) {
    if (line.substr(0, prefix.size()) != prefix)
        return false;
    line.remove_prefix(prefix.size());
    if (line.size() < rest.size() || line.substr(line.size() - rest.size()) != rest)
        return false;
    return isTime(line.substr(0, line.size() - rest.size()));
}

} // namespace tarvel::e2e
