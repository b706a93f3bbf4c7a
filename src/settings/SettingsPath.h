#pragma once
// Where the settings file lives: beside the executable, with the executable's name and ".ini", when the
// program may write there (a copy run from a folder of its own); otherwise in the user's configuration
// folder, as an installed program keeps it.
#include <string>
#include <string_view>

namespace tarvel::settings {

// The settings file for the running executable (see settingsPathFor).
std::string settingsPathForExecutable();
// Beside the executable when its folder takes new files or the file there may be written; otherwise
// "$XDG_CONFIG_HOME/tarvel/tarvel.ini" ("$HOME/.config" when XDG_CONFIG_HOME is unset or not an absolute
// path), whose missing folders are created here (mode 0700).
std::string settingsPathFor(std::string_view executablePath);
// The executable's path with its extension replaced by ".ini" (appended when it has none); a
// " (deleted)" mark of a replaced executable is dropped.
std::string settingsPathBeside(std::string_view executablePath);

} // namespace tarvel::settings
