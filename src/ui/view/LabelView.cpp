#include "ui/view/LabelView.h"

namespace tarvel::ui::view {

LabelView::LabelView(controls::Label& model, platform::MessageSink& sink, QWidget* parent)
    : MouseForwarding(model, sink, Clicks::OnRelease, parent), model_(model),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    setTextFormat(Qt::PlainText);
    // Opaque: a label covers what lies under it, such as the centred caption of the panel it sits on.
    setAutoFillBackground(true);
    sync();
}

void LabelView::sync() {
    setText(toQt(model_.caption()));
    applyCommon(*this, model_);
    offerKeyboardClick();
    // A label designed without a size takes the size of its text.
    if (model_.width() <= 0 || model_.height() <= 0) {
        const QSize hint = sizeHint();
        resize(model_.width() > 0 ? model_.width() : hint.width(),
               model_.height() > 0 ? model_.height() : hint.height());
    }
    applyColors(*this, model_, QPalette::Window, QPalette::WindowText);
}

void LabelView::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    paintFocusFrame(*this);
}

} // namespace tarvel::ui::view
