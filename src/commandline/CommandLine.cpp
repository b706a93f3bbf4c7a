#include "commandline/CommandLine.h"

#include "beacon/Calibration.h"
#include "beacon/Options.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tarvel::commandline {
namespace {

// The options QApplication and its X11 and Wayland platforms take from the command line, each with one or
// two leading dashes, and how each takes its value.
enum class Value { None, Next, NextOrEquals, Equals };

struct QtOption {
    std::string_view name;
    Value value;
};

constexpr std::array kQtOptions{
    QtOption{"platform", Value::Next},
    QtOption{"platformpluginpath", Value::Next},
    QtOption{"platformtheme", Value::Next},
    QtOption{"plugin", Value::Next},
    QtOption{"qwindowgeometry", Value::Next},
    QtOption{"qwindowtitle", Value::Next},
    QtOption{"qwindowicon", Value::Next},
    QtOption{"geometry", Value::Next},
    QtOption{"title", Value::Next},
    QtOption{"icon", Value::Next},
    QtOption{"display", Value::Next},
    QtOption{"name", Value::Next},
    QtOption{"visual", Value::Next},
    QtOption{"session", Value::Next},
    QtOption{"style", Value::NextOrEquals},
    QtOption{"stylesheet", Value::NextOrEquals},
    QtOption{"qmljsdebugger", Value::Equals},
    QtOption{"reverse", Value::None},
    QtOption{"testability", Value::None},
    QtOption{"widgetcount", Value::None},
    QtOption{"nograb", Value::None},
    QtOption{"dograb", Value::None},
    QtOption{"sync", Value::None},
};

Command print(std::string text) {
    return {Command::Action::Print, {}, std::move(text), beacon::kExitOk};
}

Command refuse(const std::string& message) {
    return {Command::Action::Refuse, {}, "tarvel: " + message + " (see tarvel --help)", beacon::kExitUsage};
}

// How many arguments a Qt option takes, counting itself: 0 when the argument is none of Qt's, 1 for the
// option alone or with "=value", 2 with the value that follows it.
std::size_t qtOptionLength(std::string_view argument) {
    if (!argument.starts_with('-'))
        return 0;
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    const auto equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    const auto option = std::find_if(kQtOptions.begin(), kQtOptions.end(),
                                     [name](const QtOption& known) { return known.name == name; });
    if (option == kQtOptions.end())
        return 0;
    const bool takesEquals = option->value == Value::NextOrEquals || option->value == Value::Equals;
    const bool takesNext = option->value == Value::Next || option->value == Value::NextOrEquals;
    if (equals != std::string_view::npos)
        return takesEquals ? 1 : 0;
    if (option->value == Value::Equals)
        return 0;
    return takesNext ? 2 : 1;
}

} // namespace

std::string usageText() {
    return "Usage: tarvel [QT-OPTION...]        open the window\n"
           "       tarvel beacon [OPTION...]    send a beacon message without a window\n"
           "       tarvel calibrate [OPTION...] measure the sound card's clock against the system clock\n"
           "       tarvel help [beacon|calibrate] print this text, or a command's options\n"
           "       tarvel --help | --version\n"
           "Sound-card reference oscillator and slow-Morse beacon keyer.\n"
           "\n"
           "Options:\n"
           "  --help     print this text\n"
           "  --version  print the program's version\n"
           "\n"
           "The window takes Qt's own options, such as -platform NAME, -display DISPLAY\n"
           "and -style NAME. The manual page tarvel(1) describes the beacon's options, the\n"
           "files, the signals and the exit statuses.\n";
}

Command readCommandLine(const std::vector<std::string>& arguments) {
    if (!arguments.empty() && arguments.front() == "beacon")
        return {Command::Action::Beacon, {arguments.begin() + 1, arguments.end()}, {}, beacon::kExitOk};
    if (!arguments.empty() && arguments.front() == "calibrate")
        return {Command::Action::Calibrate, {arguments.begin() + 1, arguments.end()}, {}, beacon::kExitOk};
    if (!arguments.empty() && arguments.front() == "help") {
        if (arguments.size() == 1)
            return print(usageText());
        if (arguments.size() == 2 && arguments[1] == "beacon")
            return print(beacon::usageText());
        if (arguments.size() == 2 && arguments[1] == "calibrate")
            return print(beacon::calibrateUsageText());
        return refuse("no help on \"" + arguments[1] + "\"");
    }

    // Anything else opens the window, which takes only Qt's own options.
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help")
            return print(usageText());
        if (argument == "--version")
            return print(beacon::versionText());
        if (const std::size_t length = qtOptionLength(argument); length > 0) {
            if (i + length > arguments.size())
                return refuse(argument + " needs a value");
            i += length - 1;
            continue;
        }
        if (argument.starts_with('-'))
            return refuse("unknown option \"" + argument + "\"");
        return refuse("unknown command \"" + argument + "\"");
    }
    return {};
}

} // namespace tarvel::commandline
