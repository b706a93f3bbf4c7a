#include "audio/OutputStream.h"
#include "beacon/BeaconProgram.h"
#include "commandline/CommandLine.h"
#include "ui/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

// A sound device that stalled can leave a thread blocked inside the sound library for good. Once the run
// has ended in order (lines low, port let go, log written), the process ends at once, without the static
// destructors and library teardown that such a thread could deadlock or crash.
int endOfRun(int status) {
    if (tarvel::audio::OutputStream::anyLeftBehind()) {
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
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
        return endOfRun(tarvel::beacon::runBeacon(command.beaconArguments));
    }
    case Command::Action::Window:
        break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    // Desktops match the window to its menu entry and icon by the desktop file's name.
    QGuiApplication::setDesktopFileName(TARVEL_APP_ID);
    return endOfRun(tarvel::ui::runProgram());
}
