#include "audio/AlsaAudioDevice.h"
#include "keyer/SerialControlLines.h"
#include "platform/LinuxProcessPriority.h"
#include "platform/QtTimer.h"
#include "platform/SystemClock.h"
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
    const int result = QApplication::exec();
    form.FormDestroy();
    return result;
}
