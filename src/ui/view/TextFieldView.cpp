#include "ui/view/TextFieldView.h"

#include "ui/view/ViewSupport.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QValidator>
#include <algorithm>

namespace tarvel::ui::view {

namespace {
// Decides on every operator edit whether the line edit takes it; the program's own texts never pass here.
class EditFilter : public QValidator {
public:
    EditFilter(std::function<bool(const QString&)> accepts, QObject* parent)
        : QValidator(parent), accepts_(std::move(accepts)) {}
    State validate(QString& input, int&) const override { return accepts_(input) ? Acceptable : Invalid; }

private:
    std::function<bool(const QString&)> accepts_;
};
} // namespace

TextFieldView::TextFieldView(controls::TextField& model, platform::MessageSink& sink, QWidget* parent)
    : QLineEdit(parent), model_(model), sink_(sink),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    // textEdited comes from the operator only, so the model's own changes never come back to it.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        const qsizetype afterCursor = text.size() - cursorPosition();
        operatorAction([this, &text] { model_.setText(model_.typed(toCp1251(text))); });
        // A typed character the text cannot hold is left out: the cursor stays after what went before.
        if (this->text().size() < text.size())
            setCursorPosition(static_cast<int>(std::max<qsizetype>(this->text().size() - afterCursor, 0)));
    });
    sync();
}

void TextFieldView::setBorderless(bool borderless) {
    if (borderless == borderless_)
        return;
    borderless_ = borderless;
    setFrame(!borderless);
    forgetAppliedColors(*this);
    sync();
}

void TextFieldView::limitTyping(int characters) {
    typingLimit_ = std::max(characters, 0);
    if (typingLimit_ == 0) {
        setValidator(nullptr);
        return;
    }
    // An edit may always shorten the text, so a longer text the program set can still be corrected.
    setValidator(new EditFilter(
        [this](const QString& edited) {
            return edited.size() <= typingLimit_ || edited.size() <= toQt(model_.text()).size();
        },
        this));
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
    // A clear base lets the container's colour show, and keeps following it.
    if (borderless_ && model_.color() == controls::kDefaultColor &&
        palette().brush(QPalette::Base).color() != QColor(Qt::transparent)) {
        QPalette clear = palette();
        clear.setBrush(QPalette::Base, Qt::transparent);
        setPalette(clear);
    }
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
