#include "settings/SettingsPath.h"

#include <filesystem>
#include <system_error>

namespace tarvel::settings {

std::string settingsPathFor(std::string_view executablePath) {
    // The kernel marks the link of an executable that was replaced while running (an upgrade).
    constexpr std::string_view kDeleted = " (deleted)";
    if (executablePath.ends_with(kDeleted))
        executablePath.remove_suffix(kDeleted.size());
    std::filesystem::path path(executablePath);
    path.replace_extension(".ini");
    return path.string();
}

std::string settingsPathForExecutable() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    // Without /proc the working directory is the best remaining guess.
    return settingsPathFor(error ? std::string_view("tarvel") : std::string_view(exe.native()));
}

} // namespace tarvel::settings
