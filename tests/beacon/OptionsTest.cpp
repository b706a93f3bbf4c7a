#include "beacon/Options.h"

#include "beacon/Duration.h"
#include "keyer/Presets.h"

#include <gtest/gtest.h>

namespace tarvel::beacon {
namespace {

TEST(Duration, ReadsUnitsAndBareSecondsAndRefusesTheRest) {
    EXPECT_EQ(parseDuration("30s").ms, 30'000);
    EXPECT_EQ(parseDuration("90").ms, 90'000);
    EXPECT_EQ(parseDuration("10m").ms, 600'000);
    EXPECT_EQ(parseDuration("1h").ms, 3'600'000);
    EXPECT_EQ(parseDuration("24h").ms, kMaxDurationMs);
    for (const char* bad : {"", "m", "0", "0s", "-5s", "1.5m", "1m30s", "10x", "25h", "99999999999999999999"})
        EXPECT_FALSE(parseDuration(bad).ok()) << bad;
}

TEST(Options, ReadsAFullCommandLine) {
    const OptionsParse parsed =
        parseOptions({"--settings", "beacon.ini", "--text", "VVV DE N0CALL", "--mode", "qrss3", "--id-start",
                      "--every", "10m", "--offset=30s", "--count", "3", "--quiet"});
    ASSERT_EQ(parsed.action, OptionsParse::Action::Run) << parsed.output;
    const Options& o = parsed.options;
    EXPECT_EQ(o.settingsFile, "beacon.ini");
    EXPECT_EQ(o.text, "VVV DE N0CALL");
    EXPECT_EQ(keyer::Presets::preset(o.presetRow).label, "QRSS3");
    EXPECT_TRUE(o.idStart);
    EXPECT_FALSE(o.idEnd);
    EXPECT_EQ(o.everyMs, 600'000);
    EXPECT_EQ(o.offsetMs, 30'000);
    EXPECT_EQ(o.count, 3);
    EXPECT_TRUE(o.quiet);

    // Defaults: stored message 1, CW, one pass at once.
    const Options defaults = parseOptions({}).options;
    EXPECT_EQ(defaults.message, 1);
    EXPECT_FALSE(defaults.text);
    EXPECT_EQ(defaults.presetRow, 0);
    EXPECT_EQ(defaults.everyMs, 0);
    EXPECT_EQ(defaults.count, 1);

    EXPECT_EQ(parseOptions({"--mode", "DFCW240"}).options.presetRow, keyer::Presets::kRows - 1);
    EXPECT_EQ(parseOptions({"--mode", "custom"}).options.presetRow, keyer::Presets::kNoRow);
}

TEST(Options, HelpAndVersionEndWithStatusZero) {
    const OptionsParse help = parseOptions({"--mode", "cw", "--help", "--bogus"});
    EXPECT_EQ(help.action, OptionsParse::Action::Help);
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.output.find("qrss120"), std::string::npos);
    EXPECT_NE(help.output.find("dfcw240 custom"), std::string::npos);
    const OptionsParse version = parseOptions({"--version"});
    EXPECT_EQ(version.action, OptionsParse::Action::Version);
    EXPECT_EQ(version.output.rfind("tarvel ", 0), 0u);
}

TEST(Options, BadInputGivesStatusTwoAndNamesTheProblem) {
    const struct {
        std::vector<std::string> arguments;
        std::string named;
    } cases[] = {
        {{"--frobnicate"}, "unknown option \"--frobnicate\""},
        {{"--mode", "qrss7"}, "unknown mode \"qrss7\""},
        {{"--mode"}, "--mode needs a value"},
        {{"--text", "  "}, "--text is empty"},
        {{"--message", "5"}, "--message must be 1, 2, 3 or 4"},
        {{"--message", "2", "--text", "X"}, "--message and --text exclude each other"},
        {{"--every", "10 m"}, "--every: malformed duration \"10 m\""},
        {{"--every", "0s"}, "longer than zero"},
        {{"--every", "1m", "--offset", "1m"}, "--offset must be shorter than --every"},
        {{"--offset", "10s"}, "--offset needs --every"},
        {{"--count", "0"}, "--count must be a whole number of at least 1"},
        {{"--count", "2", "--loop"}, "--count and --loop exclude each other"},
        {{"--render", "a.wav", "--track-clock"}, "--track-clock needs the sound card, which --render"},
        {{"--track-clock", "--dry-run"}, "--track-clock needs the sound card, which --dry-run"},
        {{"--loop=yes"}, "--loop takes no value"},
        {{"--quiet", "--quiet"}, "--quiet given twice"},
        {{"--mode", "qrss3", "--shift", "2"}, "--shift needs a DFCW, FSKCW or custom mode"},
        {{"--mode", "fskcw3", "--shift", "0"}, "--shift must be a number of hertz above 0"},
        {{"--mode", "fskcw3", "--shift", "1.234"}, "two decimals at most, not \"1.234\""},
        {{"--mode", "fskcw3", "--shift", "2000.01"}, "at most 2000"},
        {{"--call", "K1ABC"}, "--call needs --mode wspr2"},
        {{"--mode", "wspr2", "--locator", "FN42", "--power", "37"}, "--mode wspr2 needs --call"},
        {{"--mode", "wspr2", "--power", "36"}, "--power must be 0 to 60 dBm ending in 0, 3 or 7"},
        {{"--mode", "wspr2", "--call", " "}, "--call is empty"},
        {{"--mode", "wspr2", "--tx-percent", "0"}, "--tx-percent must be a whole number from 1 to 100"},
        {{"--mode", "wspr2", "--call", "K1ABC", "--locator", "FN42", "--power", "37", "--every", "3m"},
         "--every must be a whole number of 2 minutes"},
        {{"--mode", "wspr2", "--call", "K1ABC", "--locator", "FN42", "--power", "37", "--every", "10m",
          "--offset", "1m"},
         "--offset makes no sense with --mode wspr2"},
        {{"--mode", "wspr2", "--text", "X"}, "--text makes no sense with --mode wspr2"},
        {{"--mode", "wspr2", "--id-start"}, "--id-start makes no sense"},
        {{"--mode", "wspr2", "--shift", "1"}, "--shift makes no sense"},
        {{"--mode", "wspr2", "--call", "K1ABC", "--locator", "ZZ99", "--power", "37"},
         "wspr2: the locator \"ZZ99\""},
    };
    for (const auto& c : cases) {
        const OptionsParse parsed = parseOptions(c.arguments);
        EXPECT_EQ(parsed.action, OptionsParse::Action::Error) << c.named;
        EXPECT_EQ(parsed.exitStatus, kExitUsage) << c.named;
        EXPECT_NE(parsed.output.find(c.named), std::string::npos) << parsed.output;
    }
}

TEST(Options, FskcwAndWsprCommandLines) {
    const auto parse = [](std::vector<std::string> arguments) { return parseOptions(arguments); };
    // Accepted; the refusals stand in the table above.
    const Options fskcw = parse({"--mode", "FSKCW120", "--shift", "0.5", "--id-end"}).options;
    EXPECT_EQ(fskcw.fskcwDotSeconds, 120);
    EXPECT_EQ(fskcw.shiftCentiHz, 50);
    EXPECT_EQ(parse({"--mode", "dfcw3", "--shift=12.34"}).options.shiftCentiHz, 1234);
    EXPECT_EQ(parse({"--mode", "fskcw1"}).options.shiftCentiHz, std::nullopt);
    const Options wspr =
        parse({"--mode", "wspr2", "--call", "k1abc", "--locator", "FN42", "--power", "37"}).options;
    EXPECT_TRUE(wspr.wspr2 && wspr.everyMs == 120'000 && wspr.txPercent == 100 && wspr.powerDbm == 37);
}

} // namespace
} // namespace tarvel::beacon
