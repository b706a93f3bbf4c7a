#include "beacon/BeaconProgram.h"
#include "ui/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <string_view>

int main(int argc, char** argv) {
    // The unattended beacon needs no display: a core application loads no platform plugin.
    if (argc > 1 && std::string_view(argv[1]) == "beacon") {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName("Tarvel");
        return tarvel::beacon::runBeacon({argv + 2, argv + argc});
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    return tarvel::ui::runProgram();
}
