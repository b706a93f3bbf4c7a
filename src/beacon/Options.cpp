#include "beacon/Options.h"

#include "beacon/Duration.h"
#include "keyer/BeaconMessages.h"
#include "keyer/Presets.h"

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

} // namespace

std::vector<std::string> modeNames() {
    std::vector<std::string> names;
    for (int row = 0; row < keyer::Presets::kRows; ++row)
        names.push_back(presetName(row));
    names.emplace_back("custom");
    return names;
}

std::string usageText() {
    std::string modes;
    for (const std::string& name : modeNames())
        modes += (modes.empty() ? "" : " ") + name;
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
           "  --id-start         send the stored identification before each pass\n"
           "  --id-end           send the stored identification after each pass\n"
           "  --every DURATION   start each pass on a UTC frame of DURATION (30s, 10m, 1h; 90 = 90s)\n"
           "  --offset DURATION  start that long after each frame's beginning (with --every)\n"
           "  --count N          send N passes (default 1)\n"
           "  --loop             send passes until stopped\n"
           "  --dry-run          no port and no sound: print the planned edges with their times\n"
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
    static const std::vector<std::string> kValued{"--settings", "--message", "--text", "--mode",
                                                  "--every",    "--offset",  "--count"};
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
        } else if (name == "--text") {
            if (text.find_first_not_of(" \t") == std::string::npos)
                return failure("--text is empty");
            options.text = text;
        } else if (name == "--mode") {
            const auto row = modeRow(text);
            if (!row)
                return failure("unknown mode \"" + text + "\" (see --help for the modes)");
            options.presetRow = *row;
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

    if (listed(seen, "--message") && options.text)
        return failure("--message and --text exclude each other");
    if (listed(seen, "--count") && options.loop)
        return failure("--count and --loop exclude each other");
    if (listed(seen, "--offset") && options.everyMs == 0)
        return failure("--offset needs --every");
    if (listed(seen, "--offset") && options.offsetMs >= options.everyMs)
        return failure("--offset must be shorter than --every");
    return result;
}

} // namespace tarvel::beacon
