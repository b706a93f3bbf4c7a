#include "settings/SettingsPath.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using tarvel::settings::settingsPathBeside;
using tarvel::settings::settingsPathFor;

namespace {

// Sets an environment variable for one test and puts back what it was.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(value);
    }
    ~ScopedVariable() { set(old_ ? old_->c_str() : nullptr); }
    void set(const char* value) { value ? ::setenv(name_, value, 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(SettingsPath, ReplacesOrAppendsTheExtension) {
    EXPECT_EQ(settingsPathBeside("/opt/tarvel/tarvel.exe"), "/opt/tarvel/tarvel.ini");
    EXPECT_EQ(settingsPathBeside("/usr/bin/tarvel"), "/usr/bin/tarvel.ini");
    EXPECT_EQ(settingsPathBeside("/home/op/v1.2/tarvel"), "/home/op/v1.2/tarvel.ini");
    EXPECT_EQ(settingsPathBeside("/usr/bin/tarvel (deleted)"), "/usr/bin/tarvel.ini");
}

TEST(SettingsPath, BesideAWritableExecutableElseInTheUsersConfigurationFolder) {
    namespace fs = std::filesystem;
    const fs::path scratch = fs::absolute("SettingsPath_scratch");
    fs::remove_all(scratch);
    fs::create_directories(scratch / "bin");
    ScopedVariable home("HOME", (scratch / "home").c_str());
    ScopedVariable configHome("XDG_CONFIG_HOME", nullptr);

    EXPECT_EQ(settingsPathFor((scratch / "bin" / "tarvel").native()), scratch / "bin" / "tarvel.ini");

    // /proc/self takes no new files even for root, whom a read-only mode does not stop.
    const fs::path installed = "/proc/self/tarvel";
    EXPECT_EQ(settingsPathFor(installed.native()), scratch / "home" / ".config" / "tarvel" / "tarvel.ini");
    struct stat made {};
    ASSERT_EQ(::stat((scratch / "home" / ".config" / "tarvel").c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0700u);

    configHome.set((scratch / "config").c_str());
    EXPECT_EQ(settingsPathFor(installed.native()), scratch / "config" / "tarvel" / "tarvel.ini");
    EXPECT_TRUE(fs::is_directory(scratch / "config" / "tarvel"));
    configHome.set("relative/config"); // not absolute: ignored
    EXPECT_EQ(settingsPathFor(installed.native()), scratch / "home" / ".config" / "tarvel" / "tarvel.ini");
    fs::remove_all(scratch);
}

TEST(SettingsPath, ForThisExecutableIsAbsoluteAndBesideIt) {
    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    const std::string path = tarvel::settings::settingsPathForExecutable();
    EXPECT_EQ(path, std::string(exe) + ".ini"); // the test binary has no extension
    EXPECT_EQ(path.front(), '/');
}
