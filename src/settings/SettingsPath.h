#pragma once
// Where the settings file lives: beside the executable, with the executable's name and ".ini".
#include <string>
#include <string_view>

namespace tarvel::settings {

// The running executable's path with its extension replaced by ".ini" (appended when it has none).
std::string settingsPathForExecutable();
// The same rule for a given executable path; a " (deleted)" mark of a replaced executable is dropped.
std::string settingsPathFor(std::string_view executablePath);

} // namespace tarvel::settings
