#include "ui/Program.h"

#include "keyer/SerialControlLines.h"
#include "platform/CrashHook.h"
#include "platform/LinuxProcessPriority.h"
#include "platform/QtTimer.h"
#include "platform/TerminationSignals.h"
#include "settings/SettingsPath.h"
#include "station/RealDevices.h"
#include "ui/MainWindow.h"
#include "ui/view/DeferredIconStyle.h"
#include "ui/view/QMessageBoxSink.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>

namespace tarvel::ui {

Devices realDevices(station::RealDevices& real, platform::MessageSink& sink,
                    platform::ProcessPriority& priority,
                    std::function<void(const std::string&)> cutToClipboard, std::string settingsPath) {
    Devices devices{sink,
                    real.clock,
                    &station::RealDevices::makeTimer,
                    &station::RealDevices::makeAudioDevice,
                    real.outputPcms,
                    real.lines,
                    real.serialPorts,
                    priority,
                    std::move(cutToClipboard),
                    std::move(settingsPath)};
    devices.makeKeyerTimer = &station::RealDevices::makeKeyerTimer;
    return devices;
}

int runProgram(const std::function<void(Wiring&)>& started) {
    view::DeferredIconStyle::install();
    // A signal ends the program the way closing its window does, so nothing is left keyed. One that
    // arrives during start-up, before the event loop runs, is kept and honoured once start-up is over.
    bool terminated = false;
    // A crash cannot end the transmission in order, but it can still drop both lines on its way out, and
    // leave the port unlocked for the next user.
    platform::installCrashHook(&keyer::SerialControlLines::abandonOpenPort,
                               &keyer::SerialControlLines::clearOpenPortLines);
    // Ctrl+Z ends what is on the air as Stop TX does; once the program is continued the operator starts
    // again.
    Wiring* running = nullptr;
    platform::TerminationSignals::Actions actions;
    actions.terminate = [&terminated](int) {
        terminated = true;
        QApplication::exit(0);
    };
    actions.suspend = [&running] {
        if (running)
            running->stopTransmission();
    };
    platform::TerminationSignals termination(std::move(actions));

    view::QMessageBoxSink sink;
    station::RealDevices real(station::RealDevices::SoundConfiguration::ReadWhenAsked);
    platform::LinuxProcessPriority priority;
    Devices devices = realDevices(
        real, sink, priority,
        [](const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); },
        settings::settingsPathForExecutable());
    // Declared before the wiring, which uses it to its end.
    platform::QtTimer toneWatchdog;
    Wiring form(devices);
    running = &form;
    form.watchTone(toneWatchdog);
    // The values are in before the widgets are built: each widget starts with what it shows, and what
    // start-up hides is built only when it first shows.
    form.loadAndShow();
    MainWindow windows(form, sink);
    form.takeKeyboard();
    if (started && !terminated)
        started(form);
    // Once the window's first frame is drawn, the sound configuration is read and the sound server's
    // connection made ahead, so Start TX need not wait for them before PTT; then the menu entry's icon is
    // given for the window manager and the task switcher (drawing it loads the SVG icon engine and scans
    // the image-format plug-ins).
    windows.afterFirstFrame([&form, &real] {
        real.readSoundConfigurationAhead();
        form.station().tone().keepDeviceOpenAhead(true);
    });
    windows.afterFirstFrame([] { QApplication::setWindowIcon(QIcon(":/tarvel.svg")); });
    const int result = terminated ? 0 : QApplication::exec();
    form.shutDown();
    running = nullptr;
    return result;
}

} // namespace tarvel::ui
