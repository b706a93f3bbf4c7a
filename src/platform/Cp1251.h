#pragma once
// Windows-1251 is the program's text inside the core and in its files; the user interface speaks UTF-8.
#include <string>
#include <string_view>

namespace tarvel::platform {

std::string cp1251ToUtf8(std::string_view cp1251);
// Characters without a Windows-1251 code are left out: a typed "é" must not be keyed as the Morse
// question mark. Malformed UTF-8 costs one '?' per bad byte.
std::string utf8ToCp1251(std::string_view utf8);
// Upper case for Latin and Cyrillic letters of Windows-1251 (what the upper-case fields do to typed text).
std::string cp1251ToUpper(std::string_view cp1251);

} // namespace tarvel::platform
