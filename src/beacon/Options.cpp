#include "beacon/Options.h"

#include "beacon/Duration.h"
#include "keyer/BeaconMessages.h"
#include "keyer/Presets.h"
#include "keyer/Wspr.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tarvel::beacon {
namespace {

std::string lowered(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

// A preset's name on the command line is its panel label without the padding, in lower case (" CW" ->
// "cw"), so the list stands once, in the presets.
std::string presetName(int row) {
    return lowered(keyer::Presets::preset(row).label);
}

constexpr std::int64_t kWsprFrameMs = 120'000;

std::optional<int> modeRow(std::string_view name) {
    const std::string wanted = lowered(name);
    if (wanted == "custom")
        return keyer::Presets::kNoRow;
    for (int row = 0; row < keyer::Presets::kRows; ++row) {
        if (presetName(row) == wanted)
            return row;
    }
    return std::nullopt;
}

OptionsParse failure(std::string message) {
    return {OptionsParse::Action::Error, {}, "tarvel beacon: " + std::move(message), kExitUsage};
}

std::optional<int> wholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(std::string(text));
}

// A shift in hertz with at most two decimals ("2", "0.5", "1.25"), as 0.01 Hz; above 0, at most the custom
// mode's largest. A point always: a command line does not follow the desktop's locale.
std::optional<std::int32_t> shiftCentiHz(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view cents = point == std::string_view::npos ? "" : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 6 || cents.size() > 2 ||
        (point != std::string_view::npos && cents.empty()) || !digits(whole) || !digits(cents))
        return std::nullopt;
    std::int32_t value = std::stoi(std::string(whole)) * 100;
    if (!cents.empty())
        value += std::stoi(std::string(cents)) * (cents.size() == 1 ? 10 : 1);
    if (value <= 0 || value > keyer::CustomMode::kShiftMax)
        return std::nullopt;
    return value;
}

std::optional<int> fskcwSeconds(std::string_view name) {
    const std::string wanted = lowered(name);
    for (const std::int32_t seconds : keyer::Presets::kFskcwDotSeconds)
        if (wanted == "fskcw" + std::to_string(seconds))
            return seconds;
    return std::nullopt;
}

} // namespace

std::vector<std::string> modeNames() {
    std::vector<std::string> names;
    for (int row = 0; row < keyer::Presets::kRows; ++row)
        names.push_back(presetName(row));
    names.emplace_back("custom");
    for (const std::int32_t seconds : keyer::Presets::kFskcwDotSeconds)
        names.push_back("fskcw" + std::to_string(seconds));
    names.emplace_back("wspr2");
    return names;
}

std::string usageText() {
    // The presets and "custom" on one line, the modes that are no row on the next.
    std::string modes;
    for (const std::string& name : modeNames())
        modes += (modes.empty()                                        ? ""
                  : name.starts_with("fskcw1") && !name.ends_with("0") ? "\n                     "
                                                                       : " ") +
                 name;
    return "Usage: tarvel beacon [options]\n"
           "Sends a beacon message without a window, from the same settings as the window.\n"
           "\n"
           "  --settings FILE    read this settings file instead of the window's\n"
           "  --message N        send stored message N, 1 to 4 (default 1)\n"
           "  --text TEXT        send TEXT instead of a stored message\n"
           "  --mode MODE        keying mode (default cw); custom uses the stored custom values:\n"
           "                     " +
           modes +
           "\n"
           "  --shift HZ         the DFCW or FSKCW shift, or the custom mode's, in hertz (0.01 to\n"
           "                     2000, two decimals at most); FSKCW follows the DFCW presets' shifts\n"
           "                     for the same dot otherwise, and FSKCW1 shifts by 5 Hz\n"
           "  --call CALL        wspr2: the call sent\n"
           "  --locator LOC      wspr2: the locator sent (4 or 6 characters)\n"
           "  --power DBM        wspr2: the power sent, 0 to 60 dBm ending in 0, 3 or 7\n"
           "  --tx-percent P     wspr2: send in P % of the frames, drawn at random (default 100)\n"
           "  --id-start         send the stored identification before each pass\n"
           "  --id-end           send the stored identification after each pass\n"
           "  --every DURATION   start each pass on a UTC frame of DURATION (30s, 10m, 1h; 90 = 90s);\n"
           "                     wspr2: a whole number of 2 minutes, 2m unless given\n"
           "  --offset DURATION  start that long after each frame's beginning (with --every)\n"
           "  --count N          send N passes (default 1)\n"
           "  --loop             send passes until stopped\n"
           "  --dry-run          no port and no sound: print the planned edges with their times,\n"
           "                     and VFO A's moves while PTT is on (FSKCW, WSPR) to the microsecond\n"
           "  --render FILE.wav  no port and no sound: write the run's tone to FILE.wav (44100 Hz,\n"
           "                     16-bit stereo, VFO A left) from the first pass's frame; the tone\n"
           "                     plays on between passes; 1000 passes at most, one with --loop\n"
           "  --track-clock      measure the sound card's clock against the system clock and\n"
           "                     correct the tone between passes (the settings file is not written)\n"
           "  --quiet            print only errors\n"
           "  --help             print this text\n"
           "  --version          print the program's version\n";
}

std::string versionText() {
    return std::string("tarvel ") + TARVEL_VERSION + "\n";
}

OptionsParse parseOptions(const std::vector<std::string>& arguments) {
    static const std::vector<std::string> kFlags{"--id-start", "--id-end", "--loop",
                                                 "--dry-run",  "--quiet",  "--track-clock"};
    static const std::vector<std::string> kValued{
        "--settings", "--message", "--text",    "--mode",  "--every",      "--offset", "--count",
        "--shift",    "--call",    "--locator", "--power", "--tx-percent", "--render"};
    const auto listed = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    OptionsParse result;
    Options& options = result.options;
    std::vector<std::string> seen;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value; // --name=value or --name value
        if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help")
            return {OptionsParse::Action::Help, {}, usageText(), kExitOk};
        if (name == "--version")
            return {OptionsParse::Action::Version, {}, versionText(), kExitOk};
        if (!listed(kFlags, name) && !listed(kValued, name))
            return failure("unknown option \"" + arguments[i] + "\" (see --help)");
        if (listed(seen, name))
            return failure(name + " given twice");
        seen.push_back(name);
        if (listed(kFlags, name)) {
            if (value)
                return failure(name + " takes no value");
            (name == "--id-start"  ? options.idStart
             : name == "--id-end"  ? options.idEnd
             : name == "--loop"    ? options.loop
             : name == "--dry-run" ? options.dryRun
             : name == "--quiet"   ? options.quiet
                                   : options.trackClock) = true;
            continue;
        }
        if (!value) {
            if (i + 1 >= arguments.size())
                return failure(name + " needs a value");
            value = arguments[++i];
        }
        const std::string& text = *value;

        if (name == "--settings") {
            if (text.empty())
                return failure("--settings needs a file name");
            options.settingsFile = text;
        } else if (name == "--render") {
            if (text.empty())
                return failure("--render needs a file name");
            options.renderFile = text;
        } else if (name == "--text") {
            if (text.find_first_not_of(" \t") == std::string::npos)
                return failure("--text is empty");
            options.text = text;
        } else if (name == "--mode") {
            if (lowered(text) == "wspr2") {
                options.wspr2 = true;
            } else if (const auto seconds = fskcwSeconds(text)) {
                options.fskcwDotSeconds = *seconds;
            } else if (const auto row = modeRow(text)) {
                options.presetRow = *row;
            } else {
                return failure("unknown mode \"" + text + "\" (see --help for the modes)");
            }
        } else if (name == "--shift") {
            const auto shift = shiftCentiHz(text);
            if (!shift)
                return failure(
                    "--shift must be a number of hertz above 0 and at most 2000, with two decimals "
                    "at most, not \"" +
                    text + "\"");
            options.shiftCentiHz = *shift;
        } else if (name == "--call" || name == "--locator") {
            if (text.find_first_not_of(' ') == std::string::npos)
                return failure(name + " is empty");
            (name == "--call" ? options.call : options.locator) = text;
        } else if (name == "--power") {
            const auto dbm = wholeNumber(text);
            if (!dbm || !keyer::wspr::validPower(*dbm))
                return failure(
                    "--power must be 0 to 60 dBm ending in 0, 3 or 7 (0, 3, 7, 10, ... 60), not \"" + text +
                    "\"");
            options.powerDbm = *dbm;
        } else if (name == "--tx-percent") {
            const auto percent = wholeNumber(text);
            if (!percent || *percent < 1 || *percent > 100)
                return failure("--tx-percent must be a whole number from 1 to 100, not \"" + text + "\"");
            options.txPercent = *percent;
        } else if (name == "--every" || name == "--offset") {
            const DurationParse duration = parseDuration(text);
            if (!duration.ok())
                return failure(name + ": " + duration.error);
            (name == "--every" ? options.everyMs : options.offsetMs) = duration.ms;
        } else {
            const bool isMessage = name == "--message";
            const auto number = wholeNumber(text);
            if (!number || *number < 1 || (isMessage && *number > keyer::BeaconMessages::kCount))
                return failure(
                    name + (isMessage ? " must be 1, 2, 3 or 4" : " must be a whole number of at least 1") +
                    ", not \"" + text + "\"");
            (isMessage ? options.message : options.count) = *number;
        }
    }

    if (options.renderFile && options.dryRun)
        return failure("--render and --dry-run exclude each other");
    if (options.renderFile && options.trackClock)
        return failure("--track-clock needs the sound card, which --render does not play on");
    if (options.dryRun && options.trackClock)
        return failure("--track-clock needs the sound card, which --dry-run does not play on");
    if (listed(seen, "--message") && options.text)
        return failure("--message and --text exclude each other");
    if (listed(seen, "--count") && options.loop)
        return failure("--count and --loop exclude each other");
    if (listed(seen, "--offset") && options.everyMs == 0)
        return failure("--offset needs --every");
    if (listed(seen, "--offset") && options.offsetMs >= options.everyMs)
        return failure("--offset must be shorter than --every");
    if (options.wspr2) {
        for (const char* meaningless :
             {"--offset", "--text", "--message", "--id-start", "--id-end", "--shift"})
            if (listed(seen, meaningless))
                return failure(std::string(meaningless) + " makes no sense with --mode wspr2");
        for (const char* needed : {"--call", "--locator", "--power"})
            if (!listed(seen, needed))
                return failure("--mode wspr2 needs " + std::string(needed));
        if (options.everyMs == 0)
            options.everyMs = kWsprFrameMs;
        if (options.everyMs % kWsprFrameMs != 0)
            return failure(
                "--every must be a whole number of 2 minutes with --mode wspr2 (2m, 4m, 10m, ...)");
        const keyer::wspr::Encoding encoding =
            keyer::wspr::encode(options.call, options.locator, options.powerDbm);
        if (!encoding.refusal.empty())
            return failure("--mode wspr2: " + encoding.refusal);
        return result;
    }
    for (const char* wsprOnly : {"--call", "--locator", "--power", "--tx-percent"})
        if (listed(seen, wsprOnly))
            return failure(std::string(wsprOnly) + " needs --mode wspr2");
    const bool shiftable = options.fskcwDotSeconds != 0 || options.presetRow == keyer::Presets::kNoRow ||
                           keyer::Presets::preset(options.presetRow).values.dfcwMode == keyer::DfcwMode::Dfcw;
    if (options.shiftCentiHz && !shiftable)
        return failure("--shift needs a DFCW, FSKCW or custom mode");
    return result;
}

} // namespace tarvel::beacon
