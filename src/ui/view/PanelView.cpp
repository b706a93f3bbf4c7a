#include "ui/view/PanelView.h"

#include <QPainter>

namespace tarvel::ui::view {

PanelView::PanelView(controls::Panel& model, platform::MessageSink& sink, QWidget* parent)
    : MouseForwarding(model, sink, Clicks::OnRelease, parent), model_(model),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    // Opaque even without a colour of its own: a pop-up panel hides the controls it opens over.
    setAutoFillBackground(true);
    sync();
}

void PanelView::sync() {
    const QString caption = toQt(model_.caption());
    if (caption != caption_) {
        caption_ = caption;
        update();
    }
    applyCommon(*this, model_);
    offerKeyboardClick();
    applyColors(*this, model_, QPalette::Window, QPalette::WindowText);
}

void PanelView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!caption_.isEmpty()) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
    }
    paintFocusFrame(*this);
}

} // namespace tarvel::ui::view
