#pragma once
// Turns a beacon message (Windows-1251, upper case) into the element sequence the keyer executes, and
// frames it with the station identification.
#include <string>
#include <string_view>
#include <vector>

namespace tarvel::keyer {

// ">" + startText + "^" before the message when startOn, then "#" + endText + "^" after it when endOn,
// with no separator between the message and the end identification.
std::string WrapWithIdentification(std::string_view message, bool startOn, std::string_view startText,
                                   bool endOn, std::string_view endText);

// "<" followed by the code string of every character that the Morse table knows; other characters add
// nothing. When trace is given, appends per character the line "\" \"" + decimal code (for example
// "\" \"65"), and for a character without an entry also the line "это что-то" + decimal code. Trace lines
// are Windows-1251 like every core text.
std::string CompileMessage(std::string_view messageCp1251, std::vector<std::string>* trace = nullptr);

// The trace prefix for a character without an entry: "это что-то" ("that is something") in Windows-1251.
inline constexpr std::string_view kUnknownCharacterTrace = "\xFD\xF2\xEE \xF7\xF2\xEE-\xF2\xEE";

} // namespace tarvel::keyer
