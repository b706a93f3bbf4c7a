#include "ui/panels/FieldText.h"

#include "platform/Cp1251.h"
#include "platform/Failure.h"
#include "platform/Locale.h"

namespace tarvel::ui::panels {

std::string trimmed(const std::string& text) {
    constexpr const char* kBlanks = " \t";
    const auto begin = text.find_first_not_of(kBlanks);
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

std::int32_t integerOf(const std::string& text) {
    const std::string t = trimmed(text);
    const auto value = platform::parseInteger(t);
    if (!value)
        throw platform::Failure("'" + platform::cp1251ToUtf8(t) + "' is not a valid integer value");
    return *value;
}

double decimalOf(const std::string& text) {
    const std::string t = trimmed(text);
    const auto value = platform::parseDecimal(t);
    if (!value)
        throw platform::Failure("'" + platform::cp1251ToUtf8(t) + "' is not a valid floating point value");
    return *value;
}

} // namespace tarvel::ui::panels
