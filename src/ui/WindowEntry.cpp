#include "ui/WindowEntry.h"

#include "platform/SideThread.h"
#include "station/EndOfRun.h"
#include "ui/Program.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <fontconfig/fontconfig.h>

extern "C" __attribute__((visibility("default"))) int tarvel_run_window(int argc, char** argv) {
    static_assert(std::is_same_v<decltype(&tarvel_run_window), tarvel::ui::WindowEntry>);
    // The font configuration (many small files parsed, the font caches mapped) is read on another core
    // while the application connects to the display: the window needs it for its captions' sizes before
    // it can show, the toolkit would read it only then, and it is read once for the process.
    tarvel::platform::SideThread fonts([] { FcInit(); });
    QApplication app(argc, argv);
    fonts.join();
    // The toolkit's list of fonts and its fallbacks for the window's family (its font database is shared
    // by all threads and safe to use from any) are made there too while start-up begins; the first caption
    // measured would otherwise make them. Joined before the application ends.
    tarvel::platform::SideThread fontList([] {
        QFontDatabase::families();
        QFontMetrics(QFont()).height();
    });
    QApplication::setApplicationName("Tarvel");
    // Desktops match the window to its menu entry and icon by the desktop file's name.
    QGuiApplication::setDesktopFileName(TARVEL_APP_ID);
    return tarvel::station::endOfRun(tarvel::ui::runProgram());
}
