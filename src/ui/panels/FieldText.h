#pragma once
// Reading numbers from the operator's text fields, with the conversion errors the operator is shown.
#include <cstdint>
#include <string>

namespace tarvel::ui::panels {

// The text without blanks or tabs (a pasted number often brings one) at either end.
std::string trimmed(const std::string& text);
// The trimmed text as a 32-bit integer; otherwise throws "'<text>' is not a valid integer value".
std::int32_t integerOf(const std::string& text);
// The trimmed text as a decimal number with the locale's separator; otherwise throws
// "'<text>' is not a valid floating point value".
double decimalOf(const std::string& text);

} // namespace tarvel::ui::panels
