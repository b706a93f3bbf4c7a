#include "audio/AlsaAudioDevice.h"
#include "keyer/SerialControlLines.h"
#include "platform/LinuxProcessPriority.h"
#include "platform/QtTimer.h"
#include "platform/SystemClock.h"
#include "platform/TerminationSignals.h"
#include "settings/SettingsPath.h"
#include "ui/MainWindow.h"
#include "ui/TForm1.h"
#include "ui/view/QMessageBoxSink.h"

#include <QApplication>
#include <QClipboard>

using namespace tarvel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    // A signal ends the program the way closing its window does, so nothing is left keyed. One that
    // arrives during start-up, before the event loop runs, is kept and honoured once it is over.
    bool terminated = false;
    platform::TerminationSignals termination([&terminated](int) {
        terminated = true;
        QApplication::exit(0);
    });

    ui::view::QMessageBoxSink sink;
    platform::SystemClock clock;
    keyer::SerialControlLines lines;
    platform::LinuxProcessPriority priority;
    ui::Devices devices{
        sink,
        clock,
        [] { return std::make_unique<platform::QtTimer>(); },
        [](const std::string& pcm) { return std::make_unique<audio::AlsaAudioDevice>(pcm); },
        lines,
        priority,
        [](const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); },
        settings::settingsPathForExecutable(),
    };
    ui::TForm1 form(devices);
    ui::MainWindow windows(form, sink);
    form.FormCreate();
    const int result = terminated ? 0 : QApplication::exec();
    form.FormDestroy();
    return result;
}
