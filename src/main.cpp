#include "beacon/BeaconProgram.h"
#include "commandline/CommandLine.h"
#include "station/EndOfRun.h"
#include "ui/WindowEntry.h"

#include <QCoreApplication>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

// Loads the window's module, beside the executable or in the installed private folder, and runs it.
int runWindow(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    std::string problem = "the executable's folder is unknown";
    if (!error) {
        for (const fs::path& path : {folder / tarvel::ui::kWindowModule,
                                     folder / TARVEL_INSTALLED_MODULE_FOLDER / tarvel::ui::kWindowModule}) {
            // Lazily: the toolkit's libraries then bind their functions on first call, as for any
            // program that links them, rather than all of them before the window can show. The module
            // itself is linked to bind at once whatever the flag says.
            void* module = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
            if (!module) {
                problem = ::dlerror();
                continue;
            }
            if (auto entry =
                    reinterpret_cast<tarvel::ui::WindowEntry>(::dlsym(module, tarvel::ui::kWindowEntry)))
                return entry(argc, argv);
            problem = path.string() + " has no window";
        }
    }
    std::cerr << "tarvel: cannot open the window: " << problem << std::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    using tarvel::commandline::Command;
    const Command command = tarvel::commandline::readCommandLine({argv + 1, argv + argc});
    switch (command.action) {
    case Command::Action::Print:
        std::cout << command.text << std::flush;
        return command.exitStatus;
    case Command::Action::Refuse:
        std::cerr << command.text << std::endl;
        return command.exitStatus;
    case Command::Action::Beacon: {
        // The unattended beacon needs no display: a core application loads no platform plugin.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName("Tarvel");
        return tarvel::station::endOfRun(tarvel::beacon::runBeacon(command.beaconArguments));
    }
    case Command::Action::Calibrate: {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName("Tarvel");
        return tarvel::station::endOfRun(tarvel::beacon::runCalibrate(command.beaconArguments));
    }
    case Command::Action::Window:
        break;
    }
    return runWindow(argc, argv);
}
