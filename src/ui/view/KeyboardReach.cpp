#include "ui/view/KeyboardReach.h"

#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace tarvel::ui::view {

namespace {

// Whether a sibling stacked above the widget is shown, opaque and covers the place (in the parent's
// coordinates) whole.
bool coveredAbove(const QWidget& widget, const QRect& place) {
    const QObjectList& siblings = widget.parentWidget()->children();
    for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(&widget)) + 1; i < siblings.size(); ++i) {
        const auto* sibling = qobject_cast<const QWidget*>(siblings[i]);
        if (sibling && !sibling->isWindow() && !sibling->isHidden() && sibling->autoFillBackground() &&
            sibling->geometry().contains(place))
            return true;
    }
    return false;
}

bool isInside(const QWidget& widget, const QWidget& container) {
    return &container == &widget || container.isAncestorOf(&widget);
}

} // namespace

bool inSight(const QWidget& widget) {
    const QWidget* w = &widget;
    QRect place = widget.rect();
    while (!w->isWindow()) {
        const QWidget* parent = w->parentWidget();
        if (w->isHidden() || !parent)
            return false;
        place = place.translated(w->pos()) & parent->rect();
        if (place.isEmpty() || coveredAbove(*w, place))
            return false;
        w = parent;
    }
    return true;
}

QList<QWidget*> childrenInSight(const QWidget& widget) {
    QList<QWidget*> shown;
    for (QObject* child : widget.children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow() && !qobject_cast<QMenu*>(w) && inSight(*w))
            shown.push_back(w);
    }
    return shown;
}

bool isTabStop(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) && !widget.focusProxy() && widget.isEnabled() &&
           !widget.isWindow() && inSight(widget);
}

QWidget* nextTabStop(QWidget& from, bool forward) {
    // The chain is a ring through the whole window; a walk longer than the window's widgets went round.
    const qsizetype limit = from.window()->findChildren<QWidget*>().size() + 1;
    QWidget* candidate = &from;
    for (qsizetype i = 0; i < limit; ++i) {
        candidate = forward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (!candidate || candidate == &from)
            return nullptr;
        if (candidate->window() == from.window() && isTabStop(*candidate))
            return candidate;
    }
    return nullptr;
}

QWidget* standIn(const QWidget& hidden) {
    const QWidget* parent = hidden.parentWidget();
    if (!parent)
        return nullptr;
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w != &hidden && w->geometry() == hidden.geometry() && isTabStop(*w))
            return w;
    }
    return nullptr;
}

QString withMnemonic(const QString& caption, QChar letter) {
    if (letter.isNull() || caption.contains(QLatin1Char('&')))
        return caption;
    const qsizetype at = caption.indexOf(letter, 0, Qt::CaseInsensitive);
    if (at < 0)
        return caption;
    return caption.left(at) + QLatin1Char('&') + caption.mid(at);
}

QChar chooseMnemonic(const QString& caption, QString& taken) {
    if (caption.contains(QLatin1Char('&')))
        return {};
    for (QChar c : caption) {
        if (!c.isLetterOrNumber() || taken.contains(c, Qt::CaseInsensitive))
            continue;
        taken += c;
        return c;
    }
    return {};
}

PopUpFocus::PopUpFocus(QWidget& popUp, std::function<void()> close)
    : QObject(&popUp), popUp_(popUp), close_(std::move(close)) {
    popUp_.installEventFilter(this);
}

bool PopUpFocus::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &popUp_)
        return false;
    switch (event->type()) {
    case QEvent::Show: {
        // Shown by the program (a menu item, a button), not by its window appearing.
        if (event->spontaneous() || !popUp_.window()->isVisible())
            break;
        QWidget* focus = popUp_.window()->focusWidget();
        returnTo_ = focus && !isInside(*focus, popUp_) ? focus : nullptr;
        for (QWidget* w = popUp_.nextInFocusChain(); w && w != &popUp_ && isInside(*w, popUp_);
             w = w->nextInFocusChain()) {
            if (isTabStop(*w)) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
        break;
    }
    case QEvent::Hide: {
        // Before the toolkit moves a focus that was inside on to the next control.
        QWidget* focus = popUp_.window()->focusWidget();
        if (focus && isInside(*focus, popUp_) && returnTo_ && returnTo_->isVisible() &&
            returnTo_->isEnabled())
            returnTo_->setFocus(Qt::OtherFocusReason);
        returnTo_ = nullptr;
        break;
    }
    case QEvent::KeyPress:
        // Keys that the focused control left unused come up to the panel.
        if (const auto* key = static_cast<QKeyEvent*>(event);
            key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            event->accept();
            close_();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace tarvel::ui::view
