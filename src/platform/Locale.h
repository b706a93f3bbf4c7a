#pragma once
// The locale's number, date and time forms in one place: the decimal separator comes from the system
// locale; times read "H:mm:ss" (midnight is "0:00:00"), dates "dd.MM.yyyy". Tests pin the separator.
#include "platform/Clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvel::platform {

char decimalSeparator();
// Overrides the system separator (tests, and a user who wants another); nullopt returns to the system's.
void setDecimalSeparator(std::optional<char> separator);

// General floating-point format with up to 15 significant digits, no trailing zeros, the locale's
// separator, exponent form "1E20" / "1E-6" only where the digits cannot show the value plainly.
std::string formatGeneral(double value);
// Reads a decimal number written with the locale's separator (surrounding blanks allowed); nullopt when
// the text is not a number in that form.
std::optional<double> parseDecimal(std::string_view text);
// Reads a 32-bit integer: optional blanks, optional sign, decimal digits; nullopt otherwise or on overflow.
std::optional<int> parseInteger(std::string_view text);

std::string formatLongTime(const LocalTime& t);  // "H:mm:ss"
std::string formatShortDate(const LocalTime& t); // "dd.MM.yyyy"

} // namespace tarvel::platform
