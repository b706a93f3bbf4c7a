#pragma once
// Where the keyboard can go in a window: only to controls the operator can see. The windows place some
// working controls outside the visible area (or zero wide) on purpose; those, hidden ones and those under
// an open pop-up panel stay out of the Tab chain and out of what assistive technologies list.
#include <QChar>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace tarvel::ui::view {

// Whether the operator can see some of the widget: it and its containers are shown, part of it lies
// inside every container up to the window, and no opaque widget shown above it covers it whole.
bool inSight(const QWidget& widget);

// The direct children of the widget that are in sight, in stacking order (menus and windows left out).
QList<QWidget*> childrenInSight(const QWidget& widget);

// Whether Tab may stop at the widget: it takes the focus by Tab, is enabled and in sight.
bool isTabStop(const QWidget& widget);

// The Tab stop after (or before) the given widget in its window's focus chain; nullptr when there is
// none besides the widget itself.
QWidget* nextTabStop(QWidget& from, bool forward);

// A shown widget that stands where the given, now hidden, one stood (as one of two switches sharing a
// place takes over from the other) and can take the focus; nullptr when there is none.
QWidget* standIn(const QWidget& hidden);

// The caption with a mnemonic marker before the first appearance of the letter (either case); a caption
// that already has a marker, or lacks the letter, is returned as it is.
QString withMnemonic(const QString& caption, QChar letter);

// The first letter or digit of the caption that is not taken yet (compared without case); a null QChar
// when every one is taken or a caption has markers of its own. Adds the letter to taken.
QChar chooseMnemonic(const QString& caption, QString& taken);

// Makes a panel that opens over the window's other controls behave as a pop-up for the keyboard: when it
// shows it takes the focus (its first Tab stop), when it hides with the focus inside it gives the focus
// back to where it was, and Escape pressed inside it closes it by running close. Lives as a child of the
// panel.
class PopUpFocus : public QObject {
public:
    PopUpFocus(QWidget& popUp, std::function<void()> close);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& popUp_;
    std::function<void()> close_;
    QPointer<QWidget> returnTo_;
};

} // namespace tarvel::ui::view
