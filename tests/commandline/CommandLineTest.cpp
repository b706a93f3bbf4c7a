#include "commandline/CommandLine.h"

#include "beacon/Calibration.h"
#include "beacon/Options.h"
#include "mock/Files.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace tarvel::commandline {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, PassesQtsOptionsToTheWindowAndRefusesTheRestInOneLine) {
    for (const Words& words :
         {Words{}, Words{"--platform", "xcb", "-style=fusion"},
          Words{"-reverse", "-display", ":1", "-name", "beacon"}, Words{"-qmljsdebugger=port:1"}})
        EXPECT_EQ(readCommandLine(words).action, Command::Action::Window) << ::testing::PrintToString(words);
    EXPECT_EQ(readCommandLine({"-platform", "xcb", "--help", "--bogus"}).text, usageText());
    EXPECT_EQ(readCommandLine({"beacon", "--help"}).beaconArguments, Words{"--help"});

    for (const Words& words : {Words{"-platform"}, Words{"-reverse=yes"}, Words{"-qmljsdebugger"},
                               Words{"help", "me"}, Words{"-platform", "xcb", "beacon"}}) {
        const Command refused = readCommandLine(words);
        EXPECT_EQ(refused.action, Command::Action::Refuse) << ::testing::PrintToString(words);
        EXPECT_EQ(refused.exitStatus, 2);
        EXPECT_EQ(refused.text.find('\n'), std::string::npos) << refused.text;
    }
}

// The built program's exit status, standard output and standard error, with no display to reach: opening
// a window would end it on Qt's abort.
std::tuple<int, std::string, std::string> run(const std::string& arguments) {
    const std::string program =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" TARVEL_EXECUTABLE "'";
    FILE* pipe = ::popen((program + " " + arguments + " 2>errors.txt").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pipe != nullptr ? ::pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output, mock::readFile("errors.txt")};
}

TEST(CommandLine, TheProgramAnswersWithoutADisplay) {
    EXPECT_EQ(run("--help"), std::make_tuple(0, usageText(), std::string()));
    EXPECT_EQ(run("help"), std::make_tuple(0, usageText(), std::string()));
    EXPECT_EQ(run("help beacon"), std::make_tuple(0, beacon::usageText(), std::string()));
    EXPECT_EQ(run("--version"), std::make_tuple(0, beacon::versionText(), std::string()));
    EXPECT_EQ(run("help calibrate"), std::make_tuple(0, beacon::calibrateUsageText(), std::string()));
    // Refused before any file or device is touched.
    EXPECT_EQ(std::get<0>(run("calibrate --minutes 0")), 2);
    EXPECT_EQ(std::get<0>(run("calibrate --settings /nonexistent/tarvel.ini")), 2);
    for (const char* arguments : {"beacom", "--frobnicate"})
        EXPECT_EQ(run(arguments),
                  std::make_tuple(2, std::string(), readCommandLine({arguments}).text + "\n"));
}

} // namespace
} // namespace tarvel::commandline
