#include "settings/SettingsPath.h"

#include <gtest/gtest.h>
#include <unistd.h>

using tarvel::settings::settingsPathFor;

TEST(SettingsPath, ReplacesOrAppendsTheExtension) {
    EXPECT_EQ(settingsPathFor("/opt/tarvel/tarvel.exe"), "/opt/tarvel/tarvel.ini");
    EXPECT_EQ(settingsPathFor("/usr/bin/tarvel"), "/usr/bin/tarvel.ini");
    EXPECT_EQ(settingsPathFor("/home/op/v1.2/tarvel"), "/home/op/v1.2/tarvel.ini");
    EXPECT_EQ(settingsPathFor("/usr/bin/tarvel (deleted)"), "/usr/bin/tarvel.ini");
}

TEST(SettingsPath, ForThisExecutableIsAbsoluteAndBesideIt) {
    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    const std::string path = tarvel::settings::settingsPathForExecutable();
    EXPECT_EQ(path, std::string(exe) + ".ini"); // the test binary has no extension
    EXPECT_EQ(path.front(), '/');
}
