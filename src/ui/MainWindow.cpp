#include "ui/MainWindow.h"

#include "ui/view/FormView.h"

#include <QApplication>
#include <QKeyEvent>

namespace tarvel::ui {

MainWindow::MainWindow(Wiring& form, platform::MessageSink& sink) : form_(form) {
    main_ = view::FormView::build(form.mainWindow(), sink);
    log_ = view::FormView::build(form.logWindow(), sink);
    keypad_ = view::FormView::build(form.keypadWindow(), sink);
    help_ = view::FormView::build(form.helpWindow(), sink);
    for (auto* window : {main_.get(), log_.get(), keypad_.get(), help_.get()})
        window->finishBuilding();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
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
