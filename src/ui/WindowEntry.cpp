#include "ui/WindowEntry.h"

#include "station/EndOfRun.h"
#include "ui/Program.h"

#include <QApplication>

extern "C" __attribute__((visibility("default"))) int tarvel_run_window(int argc, char** argv) {
    static_assert(std::is_same_v<decltype(&tarvel_run_window), tarvel::ui::WindowEntry>);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    // Desktops match the window to its menu entry and icon by the desktop file's name.
    QGuiApplication::setDesktopFileName(TARVEL_APP_ID);
    return tarvel::station::endOfRun(tarvel::ui::runProgram());
}
