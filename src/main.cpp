#include "beacon/BeaconProgram.h"
#include "commandline/CommandLine.h"
#include "ui/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <iostream>

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
        return tarvel::beacon::runBeacon(command.beaconArguments);
    }
    case Command::Action::Window:
        break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    // Desktops match the window to its menu entry and icon by the desktop file's name.
    QGuiApplication::setDesktopFileName(TARVEL_APP_ID);
    return tarvel::ui::runProgram();
}
