#pragma once
// Adds the model's mouse events to a widget: every press reaches onMouseDown; on a passive widget
// (label, panel, frame) a left press released over the widget is also its click. The events stop
// here, so a press on a control never counts as a press on the container around it. An assistive
// technology's click does the same as the operator's. For the keyboard, the Menu key and Shift+F10 do
// what a right press does, and a passive widget that acts on a click takes the focus by Tab and is
// clicked with Space or Enter.
#include "platform/MessageSink.h"
#include "ui/controls/Control.h"
#include "ui/view/Accessibility.h"
#include "ui/view/ViewSupport.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <type_traits>

namespace tarvel::ui::view {

template <class Base> class MouseForwarding : public Base, public OperatorClick {
public:
    enum class Clicks { FromWidget, OnRelease };

    MouseForwarding(controls::Control& model, platform::MessageSink& sink, Clicks clicks, QWidget* parent)
        : Base(parent), mouseModel_(model), mouseSink_(sink), clicks_(clicks) {}

    bool acceptsClick() const override { return clicks_ == Clicks::FromWidget || bool(mouseModel_.onClick); }
    void clickAsOperator() override {
        platform::runGuarded(mouseSink_, [this] { mouseModel_.mouseDown(controls::MouseButton::Left); });
        if constexpr (std::is_base_of_v<QAbstractButton, Base>)
            this->click(); // the button's own click, which its view turns into the model's change
        else
            platform::runGuarded(mouseSink_, [this] { mouseModel_.click(); });
    }

protected:
    platform::MessageSink& sink() const { return mouseSink_; }

    // A passive widget: a stop for Tab while a click does something, and none otherwise. Only Tab gives
    // it the focus, so a mouse click leaves the focus where it was.
    void offerKeyboardClick() {
        this->setFocusPolicy(clicks_ == Clicks::OnRelease && acceptsClick() ? Qt::TabFocus : Qt::NoFocus);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const bool contextKey = event->key() == Qt::Key_Menu ||
                                (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
        const bool clickKey =
            event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        // Only the focused widget answers: a key its control left unused travels on to the containers.
        if (contextKey && this->hasFocus()) {
            if (!event->isAutoRepeat())
                platform::runGuarded(mouseSink_,
                                     [this] { mouseModel_.mouseDown(controls::MouseButton::Right); });
            event->accept();
        } else if (clicks_ == Clicks::OnRelease && clickKey && acceptsClick() && this->hasFocus()) {
            // A held key clicks once: a switch such as manual PTT must not chatter.
            if (!event->isAutoRepeat())
                clickAsOperator();
            event->accept();
        } else {
            Base::keyPressEvent(event);
        }
    }

    void mousePressEvent(QMouseEvent* event) override { pressed(event, false); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { pressed(event, true); }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (clicks_ == Clicks::FromWidget) {
            Base::mouseReleaseEvent(event);
        } else if (event->button() == Qt::LeftButton && leftDown_) {
            leftDown_ = false;
            if (this->rect().contains(event->position().toPoint()))
                platform::runGuarded(mouseSink_, [this] { mouseModel_.click(); });
        }
        event->accept();
    }

private:
    void pressed(QMouseEvent* event, bool doubleClick) {
        if (clicks_ == Clicks::FromWidget) {
            if (doubleClick)
                Base::mouseDoubleClickEvent(event);
            else
                Base::mousePressEvent(event);
        } else if (event->button() == Qt::LeftButton) {
            leftDown_ = true;
        }
        const controls::MouseButton button = toModelButton(event->button());
        platform::runGuarded(mouseSink_, [this, button] { mouseModel_.mouseDown(button); });
        event->accept();
    }

    controls::Control& mouseModel_;
    platform::MessageSink& mouseSink_;
    Clicks clicks_;
    bool leftDown_ = false;
};

} // namespace tarvel::ui::view
