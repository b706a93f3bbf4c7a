#include "ui/view/SpinFieldView.h"

#include "ui/view/ViewSupport.h"

#include <QKeyEvent>

namespace tarvel::ui::view {

namespace {
constexpr int kButtonWidth = 16;

QToolButton* makeStepButton(QWidget* parent, const char* name, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    return button;
}

// Typed text, as opposed to control keys, shortcuts and navigation, which have no printable text.
bool isTyping(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!c.isPrint())
            return false;
    return true;
}
} // namespace

SpinFieldView::SpinFieldView(controls::SpinField& model, platform::MessageSink& sink, QWidget* parent)
    : TextFieldView(model, sink, parent), spin_(model), up_(makeStepButton(this, "up", Qt::UpArrow)),
      down_(makeStepButton(this, "down", Qt::DownArrow)) {
    setTextMargins(0, 0, kButtonWidth, 0);
    connect(up_, &QToolButton::clicked, this, [this] { operatorAction([this] { spin_.stepUp(); }); });
    connect(down_, &QToolButton::clicked, this, [this] { operatorAction([this] { spin_.stepDown(); }); });
}

void SpinFieldView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        const bool up = event->key() == Qt::Key_Up;
        operatorAction([this, up] { up ? spin_.stepUp() : spin_.stepDown(); });
        event->accept();
        return;
    }
    if (isTyping(*event)) {
        for (char c : toCp1251(event->text())) {
            if (!controls::SpinField::acceptsChar(c)) {
                event->accept();
                return;
            }
        }
    }
    TextFieldView::keyPressEvent(event);
}

void SpinFieldView::resizeEvent(QResizeEvent* event) {
    TextFieldView::resizeEvent(event);
    // Inside the frame, so the field keeps its outline and the buttons fit the field's height.
    const int inset = hasFrame() ? 1 : 0;
    const int inner = height() - 2 * inset;
    const int upHeight = inner / 2;
    const int left = width() - inset - kButtonWidth;
    up_->setGeometry(left, inset, kButtonWidth, upHeight);
    down_->setGeometry(left, inset + upHeight, kButtonWidth, inner - upHeight);
}

} // namespace tarvel::ui::view
