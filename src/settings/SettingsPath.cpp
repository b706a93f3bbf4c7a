#include "settings/SettingsPath.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tarvel::settings {
namespace {

bool mayWrite(const std::filesystem::path& path) {
    return ::access(path.empty() ? "." : path.c_str(), W_OK) == 0;
}

// The user's configuration folder as the XDG base directories define it; empty when there is no home.
std::filesystem::path configFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/')
        return configHome;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/')
        return {};
    return std::filesystem::path(home) / ".config";
}

// Each missing folder on the way is made private to the user, as the XDG base directories ask. A folder
// that cannot be made shows later, when the first write of a setting fails with the file's name.
void makeFolders(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const std::filesystem::path& part : folder) {
        made /= part;
        ::mkdir(made.c_str(), 0700);
    }
}

} // namespace

std::string settingsPathBeside(std::string_view executablePath) {
    // The kernel marks the link of an executable that was replaced while running (an upgrade).
    constexpr std::string_view kDeleted = " (deleted)";
    if (executablePath.ends_with(kDeleted))
        executablePath.remove_suffix(kDeleted.size());
    std::filesystem::path path(executablePath);
    path.replace_extension(".ini");
    return path.string();
}

std::string settingsPathFor(std::string_view executablePath) {
    const std::filesystem::path beside = settingsPathBeside(executablePath);
    // A writable file in a folder that takes no new files is written over in place, so it still serves.
    if (mayWrite(beside.parent_path()) || mayWrite(beside))
        return beside.string();
    const std::filesystem::path config = configFolder();
    if (config.empty())
        return beside.string();
    makeFolders(config / "tarvel");
    return (config / "tarvel" / "tarvel.ini").string();
}

std::string settingsPathForExecutable() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    // Without /proc the working directory is the best remaining guess.
    return settingsPathFor(error ? std::string_view("tarvel") : std::string_view(exe.native()));
}

} // namespace tarvel::settings
