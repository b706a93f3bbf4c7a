#pragma once
// The words after `tarvel`, read before any Qt application object exists: which front end runs, or what
// to print and with which exit status. Help, version and refusals therefore never need a display.
#include <string>
#include <vector>

namespace tarvel::commandline {

struct Command {
    enum class Action {
        Window,    // open the window; the arguments are Qt's own options, which QApplication takes
        Beacon,    // run `tarvel beacon` with beaconArguments
        Calibrate, // run `tarvel calibrate` with beaconArguments
        Print,     // print text on standard output and end with exitStatus
        Refuse,    // print the one-line text on standard error and end with exitStatus
    };

    Action action = Action::Window;
    std::vector<std::string> beaconArguments; // the words after "beacon" or "calibrate"
    std::string text;
    int exitStatus = 0;
};

std::string usageText();

Command readCommandLine(const std::vector<std::string>& arguments);

} // namespace tarvel::commandline
