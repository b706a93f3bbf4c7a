#include "settings/IniDocument.h"

#include "platform/Cp1251.h"

namespace tarvel::settings {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && platform::cp1251ToUpper(a) == platform::cp1251ToUpper(b);
}

// The section name of a header line ("[ Param ]" names "Param"), or nullopt for any other line.
std::optional<std::string_view> headerName(std::string_view content) {
    content = trim(content);
    if (content.empty() || content.front() != '[')
        return std::nullopt;
    const std::size_t close = content.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(content.substr(1, close - 1));
}

// Comments never hold keys, whatever their text looks like.
bool isComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

} // namespace

IniDocument::IniDocument(std::string text, std::string section)
    : text_(std::move(text)), section_(std::move(section)) {}

bool IniDocument::isPlainKey(std::string_view key) {
    if (key.empty() || key.front() == '[' || key.front() == ';' || key.front() == '#')
        return false;
    if (isBlank(key.front()) || isBlank(key.back()))
        return false;
    for (char c : key)
        if (c == '=' || static_cast<unsigned char>(c) < 0x20)
            return false;
    return true;
}

IniDocument::Found IniDocument::find(std::string_view key) const {
    Found found;
    const std::string_view all(text_);
    bool inSection = false;
    bool inFirstCopy = false;
    bool firstCopySeen = false;
    for (std::size_t pos = 0; pos < all.size();) {
        Line line;
        line.begin = pos;
        const std::size_t newline = all.find('\n', pos);
        line.end = newline == std::string_view::npos ? all.size() : newline;
        line.next = newline == std::string_view::npos ? all.size() : newline + 1;
        if (line.end > line.begin && all[line.end - 1] == '\r')
            --line.end;
        pos = line.next;

        std::string_view content = all.substr(line.begin, line.end - line.begin);
        if (line.begin == 0 && content.starts_with(kBom))
            content.remove_prefix(kBom.size());
        if (const auto name = headerName(content)) {
            inSection = equalIgnoringCase(*name, section_);
            inFirstCopy = inSection && !firstCopySeen;
            if (inFirstCopy) {
                firstCopySeen = true;
                found.lastOfSection = line;
            }
            continue;
        }
        if (!inSection)
            continue;
        const std::string_view trimmed = trim(content);
        const std::size_t equals = trimmed.find('=');
        if (isComment(trimmed) || equals == std::string_view::npos)
            continue;
        if (inFirstCopy)
            found.lastOfSection = line;
        const std::string_view name = trim(trimmed.substr(0, equals));
        if (!found.keyLine && equalIgnoringCase(name, key)) {
            found.keyLine = line;
            found.keySpelling = std::string(name);
        }
    }
    return found;
}

std::optional<std::string> IniDocument::value(std::string_view key) const {
    if (!isPlainKey(key))
        return std::nullopt;
    const Found found = find(key);
    if (!found.keyLine)
        return std::nullopt;
    const Line& line = *found.keyLine;
    std::string_view content = std::string_view(text_).substr(line.begin, line.end - line.begin);
    content = content.substr(content.find('=') + 1);
    content = content.substr(0, content.find('\0'));
    return std::string(trim(content));
}

void IniDocument::set(std::string_view key, std::string_view value) {
    std::string clean(value.substr(0, value.find('\0')));
    for (char& c : clean)
        if (c == '\r' || c == '\n')
            c = ' ';

    const Found found = find(key);
    if (found.keyLine) {
        const Line& line = *found.keyLine;
        const std::string replacement = found.keySpelling + '=' + clean + std::string(kLineEnd);
        text_.replace(line.begin, line.next - line.begin, replacement);
        return;
    }
    const std::string keyLine = std::string(key) + '=' + clean + std::string(kLineEnd);
    if (found.lastOfSection) {
        // The anchor may be the last line of a file that does not end with a line end.
        const std::size_t at = found.lastOfSection->next;
        const bool needsLineEnd = text_[at - 1] != '\n';
        text_.insert(at, (needsLineEnd ? std::string(kLineEnd) : std::string()) + keyLine);
        return;
    }
    if (!text_.empty()) {
        if (text_.back() != '\n')
            text_ += kLineEnd;
        // A blank line keeps the new section apart from whatever precedes it.
        const std::string_view body = std::string_view(text_).substr(0, text_.size() - 1);
        const std::size_t lastNewline = body.rfind('\n');
        const std::string_view lastLine =
            lastNewline == std::string_view::npos ? body : body.substr(lastNewline + 1);
        if (!trim(lastLine).empty())
            text_ += kLineEnd;
    }
    text_ += '[' + section_ + ']' + std::string(kLineEnd) + keyLine;
}

} // namespace tarvel::settings
