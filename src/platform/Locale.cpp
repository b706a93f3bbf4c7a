#include "platform/Locale.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace tarvel::platform {
namespace {

std::optional<char> overriddenSeparator;

char systemSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80)
        return static_cast<char>(point.at(0).unicode());
    return '.';
}

std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

} // namespace

char decimalSeparator() {
    static const char system = systemSeparator();
    return overriddenSeparator.value_or(system);
}

void setDecimalSeparator(std::optional<char> separator) {
    overriddenSeparator = separator;
}

std::string formatGeneral(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0.0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value); // 15 significant digits: d.dddddddddddddde±x
    std::string text(buf);
    const bool negative = text[0] == '-';
    if (negative)
        text.erase(0, 1);
    const std::size_t e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const char sep = decimalSeparator();
    std::string out;
    if (exponent >= 15 || exponent < -5) {
        out = digits.substr(0, 1);
        if (digits.size() > 1)
            out += sep + digits.substr(1);
        out += 'E' + std::to_string(exponent);
    } else if (exponent < 0) {
        out = "0";
        out += sep;
        out += std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out = digits + std::string(intDigits - digits.size(), '0');
        } else {
            out = digits.substr(0, intDigits) + sep + digits.substr(intDigits);
        }
    }
    return negative ? "-" + out : out;
}

std::optional<double> parseDecimal(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    const char sep = decimalSeparator();
    std::string plain;
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-')
        plain += text[i++];
    bool digits = false, seenSep = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain += c;
            digits = true;
        } else if (c == sep && !seenSep) {
            plain += '.';
            seenSep = true;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        bool expDigits = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            plain += text[i];
            expDigits = true;
        }
        if (!expDigits)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    const char* begin = plain.data() + (plain[0] == '+' ? 1 : 0);
    double value = 0;
    auto [end, ec] = std::from_chars(begin, plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<int>(value);
}

std::string formatLongTime(const LocalTime& t) {
    return std::to_string(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

std::string formatShortDate(const LocalTime& t) {
    return twoDigits(t.day) + "." + twoDigits(t.month) + "." + std::to_string(t.year);
}

} // namespace tarvel::platform
