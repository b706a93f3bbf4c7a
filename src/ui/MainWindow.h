#pragma once
// The program's windows on screen: builds the widgets of every window from its controls and passes the
// keyboard's window-wide keys (function keys, Alt+X) to the main window. The main window is built at once;
// the log, keypad, help, calibration and WSPR windows when their models first show (or when asked for here),
// so that start-up builds only what it shows.
#include "ui/Wiring.h"
#include "ui/view/FormWindow.h"

#include <QObject>
#include <memory>

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

    Wiring& form_;
    platform::MessageSink& sink_;
    std::unique_ptr<view::FormWindow> main_;
    LaterWindow log_;
    LaterWindow keypad_;
    LaterWindow help_;
    LaterWindow calibrate_;
    LaterWindow wspr_;
};

} // namespace tarvel::ui
