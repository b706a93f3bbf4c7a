#pragma once
// The program's windows on screen: builds the widgets of every window from its controls and passes the
// keyboard's window-wide keys (function keys, Alt+X) to the main window. The main window is built at once;
// the log, keypad, help, calibration and WSPR windows when their models first show (or when asked for here),
// so that start-up builds only what it shows.
#include "ui/Wiring.h"
#include "ui/view/FormWindow.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace tarvel::ui {

class MainWindow : public QObject {
public:
    // form and sink must outlive the windows.
    MainWindow(Wiring& form, platform::MessageSink& sink);
    ~MainWindow() override;

    view::FormWindow& mainWindow() const { return *main_; }
    view::FormWindow& logWindow() { return built(log_); }
    view::FormWindow& keypadWindow() { return built(keypad_); }
    view::FormWindow& helpWindow() { return built(help_); }
    view::FormWindow& calibrateWindow() { return built(calibrate_); }
    view::FormWindow& wsprWindow() { return built(wspr_); }

    // Runs work from the event loop once the main window's first frame is drawn, or a second after it is
    // given if no frame comes by then (a desktop that maps the window later, work given after the frame):
    // what start-up can put off then never holds up what the operator first sees. In the order given,
    // each in its own pass of the event loop.
    void afterFirstFrame(std::function<void()> work);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A window not built yet: its inventory, and where its window goes once built.
    struct LaterWindow {
        const forms::Inventory& inventory;
        std::unique_ptr<view::FormWindow> window;
    };
    // Builds the window on the first change of its model that shows it.
    void buildWhenShown(LaterWindow& later);
    view::FormWindow& built(LaterWindow& later);
    void runAfterFirstFrame();

    Wiring& form_;
    platform::MessageSink& sink_;
    std::unique_ptr<view::FormWindow> main_;
    LaterWindow log_;
    LaterWindow keypad_;
    LaterWindow help_;
    LaterWindow calibrate_;
    LaterWindow wspr_;
    std::vector<std::function<void()>> afterFirstFrame_;
    QTimer firstFrameLate_;
};

} // namespace tarvel::ui
