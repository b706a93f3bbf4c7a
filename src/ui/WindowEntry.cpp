#include "ui/WindowEntry.h"

#include "station/EndOfRun.h"
#include "ui/Program.h"

#include <QApplication>
#include <fontconfig/fontconfig.h>
#include <thread>

extern "C" __attribute__((visibility("default"))) int tarvel_run_window(int argc, char** argv) {
    static_assert(std::is_same_v<decltype(&tarvel_run_window), tarvel::ui::WindowEntry>);
    // The font configuration and the fonts' caches are read on another core while the toolkit connects
    // to the display; the window's first caption would otherwise wait for them. The toolkit later finds
    // them loaded.
    std::thread fonts([] { FcInit(); });
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    // Desktops match the window to its menu entry and icon by the desktop file's name.
    QGuiApplication::setDesktopFileName(TARVEL_APP_ID);
    fonts.join();
    return tarvel::station::endOfRun(tarvel::ui::runProgram());
}
