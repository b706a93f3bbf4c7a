#include "audio/OutputStream.h"
#include "beacon/BeaconProgram.h"
#include "ui/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string_view>

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
    // The unattended beacon needs no display: a core application loads no platform plugin.
    if (argc > 1 && std::string_view(argv[1]) == "beacon") {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName("Tarvel");
        return endOfRun(tarvel::beacon::runBeacon({argv + 2, argv + argc}));
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    return endOfRun(tarvel::ui::runProgram());
}
