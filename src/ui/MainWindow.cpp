#include "ui/MainWindow.h"

#include "ui/view/FormView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>
#include <utility>

namespace tarvel::ui {

MainWindow::MainWindow(Wiring& form, platform::MessageSink& sink)
    : form_(form), sink_(sink), log_{form.logWindow(), nullptr}, keypad_{form.keypadWindow(), nullptr},
      help_{form.helpWindow(), nullptr}, calibrate_{form.calibrateWindow(), nullptr}, wspr_{form.wsprWindow(),
                                                                                            nullptr} {
    main_ = view::FormView::build(form.mainWindow(), sink);
    main_->finishBuilding();
    for (LaterWindow* later : {&log_, &keypad_, &help_, &calibrate_, &wspr_})
        buildWhenShown(*later);
    firstFrameLate_.setSingleShot(true);
    firstFrameLate_.setInterval(1000);
    connect(&firstFrameLate_, &QTimer::timeout, this, &MainWindow::runAfterFirstFrame);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    for (LaterWindow* later : {&log_, &keypad_, &help_, &calibrate_, &wspr_})
        if (!later->window)
            later->inventory.window().setViewListener({});
}

void MainWindow::buildWhenShown(LaterWindow& later) {
    controls::Form& model = later.inventory.window();
    // Start-up may have shown it before the windows were built.
    if (model.visible()) {
        built(later);
        return;
    }
    model.setViewListener([this, &later, &model](controls::ViewChange) {
        // Building replaces this listener with the window's own: nothing of it is used afterwards.
        if (model.visible())
            built(later);
    });
}

view::FormWindow& MainWindow::built(LaterWindow& later) {
    if (!later.window) {
        later.window = view::FormView::build(later.inventory, sink_);
        later.window->finishBuilding();
    }
    return *later.window;
}

void MainWindow::afterFirstFrame(std::function<void()> work) {
    afterFirstFrame_.push_back(std::move(work));
    firstFrameLate_.start();
}

void MainWindow::runAfterFirstFrame() {
    firstFrameLate_.stop();
    for (auto& work : std::exchange(afterFirstFrame_, {}))
        QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window draws its frame as it handles the expose: the work comes in a later pass, after it.
    if (event->type() == QEvent::Expose && !afterFirstFrame_.empty() && watched == main_->windowHandle() &&
        main_->windowHandle()->isExposed())
        QMetaObject::invokeMethod(this, &MainWindow::runAfterFirstFrame, Qt::QueuedConnection);
    // Closing the main window ends the program, whatever other window is open.
    if (watched == main_.get() && event->type() == QEvent::Close)
        QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != main_.get())
        return false;
    // A key ignored by a control travels on to its parents: look at it once, where it first arrives.
    QWidget* focus = QApplication::focusWidget();
    const bool windowHasKeyboard = !focus || focus == main_.get() || focus == main_->clientArea();
    if (watched != (windowHasKeyboard ? static_cast<QObject*>(main_.get()) : focus))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F12)
        form_.functionKeyPressed(key->key() - Qt::Key_F1 + 1);
    if (windowHasKeyboard)
        form_.keyPressed(key->key(), key->modifiers().testFlag(Qt::AltModifier));
    return false; // never consumes: the focused control still gets the key
}

} // namespace tarvel::ui
