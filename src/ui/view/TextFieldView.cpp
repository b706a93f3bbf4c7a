#include "ui/view/TextFieldView.h"

#include "ui/view/ViewSupport.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace tarvel::ui::view {

TextFieldView::TextFieldView(controls::TextField& model, platform::MessageSink& sink, QWidget* parent)
    : QLineEdit(parent), model_(model), sink_(sink),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    // textEdited comes from the operator only, so the model's own changes never come back to it.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        operatorAction([this, &text] { model_.setText(model_.typed(toCp1251(text))); });
    });
    sync();
}

void TextFieldView::operatorAction(const std::function<void()>& action) {
    platform::runGuarded(sink_, action);
    sync();
}

void TextFieldView::sync() {
    const QString text = toQt(model_.text());
    if (text != this->text()) {
        const int cursor = cursorPosition();
        setText(text);
        setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
    }
    applyCommon(*this, model_);
    applyColors(*this, model_, QPalette::Base, QPalette::Text);
}

void TextFieldView::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Only a move of the focus to another control counts as leaving the field, not a switch to
    // another window or a menu opening.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    operatorAction([this] { model_.focusOut(); });
}

void TextFieldView::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    const controls::MouseButton button = toModelButton(event->button());
    platform::runGuarded(sink_, [this, button] { model_.mouseDown(button); });
}

} // namespace tarvel::ui::view
