#pragma once
// The program's four windows on screen: builds the widgets of every window from the main window's
// controls and passes the keyboard's window-wide keys (function keys, Alt+X) to it.
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
    view::FormWindow& logWindow() const { return *log_; }
    view::FormWindow& keypadWindow() const { return *keypad_; }
    view::FormWindow& helpWindow() const { return *help_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Wiring& form_;
    std::unique_ptr<view::FormWindow> main_;
    std::unique_ptr<view::FormWindow> log_;
    std::unique_ptr<view::FormWindow> keypad_;
    std::unique_ptr<view::FormWindow> help_;
};

} // namespace tarvel::ui
