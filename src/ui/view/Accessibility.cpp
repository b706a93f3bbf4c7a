#include "ui/view/Accessibility.h"

#include "ui/view/FormWindow.h"
#include "ui/view/KeyboardReach.h"
#include "ui/view/ViewSupport.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace tarvel::ui::view {

namespace {

QString withoutMnemonics(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// A container lists only the controls the operator can see: the working fields placed outside the
// window, hidden panels and what an open pop-up covers are no part of what a screen reader reads.
template <class Base> class ListsWhatShows : public Base {
public:
    using Base::Base;
    int childCount() const override { return static_cast<int>(childrenInSight(*this->widget()).size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = childrenInSight(*this->widget());
        return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index])
                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return static_cast<int>(
            childrenInSight(*this->widget()).indexOf(static_cast<QWidget*>(child->object())));
    }
};

// A widget showing a control model: Qt's own interfaces would take a radio button the model keeps
// exclusive for a check box, and their toggle would flip its look without the program hearing of it.
class AccessibleControl : public ListsWhatShows<QAccessibleWidget> {
public:
    AccessibleControl(QWidget* widget, OperatorClick& click) : ListsWhatShows(widget), click_(click) {}

    QAccessible::Role role() const override {
        QWidget* w = widget();
        if (qobject_cast<QRadioButton*>(w))
            return QAccessible::RadioButton;
        if (qobject_cast<QCheckBox*>(w))
            return QAccessible::CheckBox;
        if (qobject_cast<QAbstractButton*>(w))
            return QAccessible::Button;
        if (qobject_cast<QLabel*>(w))
            return QAccessible::StaticText;
        if (qobject_cast<QGroupBox*>(w))
            return QAccessible::Grouping;
        // A panel that acts on a click works as a button.
        if (qobject_cast<QFrame*>(w))
            return click_.acceptsClick() ? QAccessible::Button : QAccessible::Pane;
        return QAccessibleWidget::role();
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (const auto* button = qobject_cast<QAbstractButton*>(widget()); button && button->isCheckable()) {
            state.checkable = true;
            state.checked = button->isChecked();
        }
        return state;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const auto* button = qobject_cast<QAbstractButton*>(widget()))
                return withoutMnemonics(button->text());
            if (const auto* box = qobject_cast<QGroupBox*>(widget()))
                return withoutMnemonics(box->title());
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        QStringList names;
        if (const QString action = clickAction(); !action.isEmpty())
            names << action;
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name.isEmpty() || name != clickAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        // From the event loop: the click may open a message box, while the assistive technology waits
        // for the answer to its call. The call is dropped if the widget goes first.
        QWidget* target = widget();
        OperatorClick* click = &click_;
        QMetaObject::invokeMethod(
            target,
            [target, click] {
                if (target->isEnabled())
                    click->clickAsOperator();
            },
            Qt::QueuedConnection);
    }

private:
    // The action that stands for the operator's click, empty where a click does nothing: a check box or
    // radio button toggles, anything else is pressed. Containers of other controls take no click.
    QString clickAction() const {
        const QAccessible::Role r = role();
        if (!widget()->isEnabled() || !click_.acceptsClick() || r == QAccessible::Grouping ||
            r == QAccessible::Client)
            return {};
        return r == QAccessible::RadioButton || r == QAccessible::CheckBox ? toggleAction() : pressAction();
    }

    OperatorClick& click_;
};

// A window of the program is a frame named by its title, not an anonymous filler.
class AccessibleWindow : public ListsWhatShows<QAccessibleWidget> {
public:
    explicit AccessibleWindow(FormWindow* window) : ListsWhatShows(window, QAccessible::Window) {}
};

QAccessibleInterface* interfaceOf(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* window = dynamic_cast<FormWindow*>(widget))
        return new AccessibleWindow(window);
    if (auto* click = dynamic_cast<OperatorClick*>(widget))
        return new AccessibleControl(widget, *click);
    return nullptr;
}

} // namespace

QString accessibleNameOf(const controls::Control& model) {
    const QString shown = withoutMnemonics(toQt(model.caption()));
    if (model.accessibleName().empty())
        return shown;
    const QString purpose = QString::fromStdString(model.accessibleName());
    const QString value = shown.trimmed();
    return value.isEmpty() ? purpose : purpose + QStringLiteral(": ") + value;
}

void applyAccessibleName(QWidget& widget, const controls::Control& model) {
    const QString name = accessibleNameOf(model);
    if (widget.accessibleName() == name)
        return;
    widget.setAccessibleName(name);
}

void renewAccessibleInterfaces(QWidget& window) {
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* widget : widgets) {
        QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
        if (!made || dynamic_cast<AccessibleWindow*>(made) || dynamic_cast<AccessibleControl*>(made))
            continue;
        if (dynamic_cast<FormWindow*>(widget) || dynamic_cast<OperatorClick*>(widget))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(interfaceOf);
        return true;
    }();
    (void)installed;
}

} // namespace tarvel::ui::view
