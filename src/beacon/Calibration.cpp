#include "beacon/Calibration.h"

#include "beacon/Options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tarvel::beacon {
namespace {

// The longest run: a week.
constexpr int kMaxMinutes = 7 * 24 * 60;

CalibrateParse failure(const std::string& message) {
    return {CalibrateParse::Action::Error, {}, "tarvel calibrate: " + message + " (see --help)", kExitUsage};
}

// Fixed-point with a point whatever the locale: scripts read these lines.
std::string fixed(double value, int decimals, bool sign = false) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, error == std::errc() ? end : text);
    if (sign && !out.starts_with('-'))
        out.insert(0, "+");
    return out;
}

} // namespace

std::string calibrateUsageText() {
    return "Usage: tarvel calibrate [options]\n"
           "Plays the stored VFO A and VFO B tones on the stored sound device, keys nothing, and\n"
           "measures the sound card's sample clock against the system clock. Prints the running\n"
           "estimate every 10 s, then the offset and the \"Correct Freq\" factor that cancels it.\n"
           "\n"
           "  --minutes N        measure for N minutes (default 10); Ctrl+C ends early\n"
           "  --settings FILE    read this settings file instead of the window's\n"
           "  --apply            write the new factor, and the offset it cancels, to the settings file\n"
           "  --help             print this text\n"
           "  --version          print the program's version\n";
}

CalibrateParse parseCalibrateOptions(const std::vector<std::string>& arguments) {
    CalibrateParse result;
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help")
            return {CalibrateParse::Action::Help, {}, calibrateUsageText(), kExitOk};
        if (name == "--version")
            return {CalibrateParse::Action::Version, {}, versionText(), kExitOk};
        if (name != "--minutes" && name != "--settings" && name != "--apply")
            return failure("unknown option \"" + arguments[i] + "\"");
        if (std::find(seen.begin(), seen.end(), name) != seen.end())
            return failure(name + " given twice");
        seen.push_back(name);
        if (name == "--apply") {
            if (value)
                return failure("--apply takes no value");
            result.options.apply = true;
            continue;
        }
        if (!value) {
            if (i + 1 >= arguments.size())
                return failure(name + " needs a value");
            value = arguments[++i];
        }
        if (name == "--settings") {
            if (value->empty())
                return failure("--settings needs a file name");
            result.options.settingsFile = *value;
            continue;
        }
        int minutes = 0;
        const char* first = value->data();
        const char* last = first + value->size();
        const auto [end, error] = std::from_chars(first, last, minutes);
        if (value->empty() || error != std::errc() || end != last || minutes < 1 || minutes > kMaxMinutes)
            return failure("--minutes takes a whole number from 1 to " + std::to_string(kMaxMinutes) +
                           ", not \"" + *value + "\"");
        result.options.minutes = minutes;
    }
    return result;
}

std::string calibrationProgress(const audio::ClockEstimate& e) {
    std::string line = fixed(e.seconds, 0) + " s measured: ";
    if (!e.valid)
        return line + "too early for an estimate";
    line += fixed(e.offsetPpm, 2, true) + " ppm ± " + fixed(e.uncertaintyPpm, 2) + " ppm";
    if (e.segments > 1)
        line += ", " + std::to_string(e.segments) + " segments";
    if (e.setAside > 0)
        line += ", " + std::to_string(e.setAside) + " reports far off the line set aside";
    return line;
}

std::string calibrationSummary(const audio::ClockEstimate& e, bool synchronised, double correctedFactor) {
    return "clock offset: " + fixed(e.offsetPpm, 2, true) + " ppm (± " + fixed(e.uncertaintyPpm, 2) +
           " ppm over " + fixed(e.seconds, 0) +
           " s; system clock synchronised: " + (synchronised ? "yes" : "no") +
           "); Correct Freq: " + fixed(correctedFactor, 8);
}

} // namespace tarvel::beacon
