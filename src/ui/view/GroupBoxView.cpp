#include "ui/view/GroupBoxView.h"

namespace tarvel::ui::view {

GroupBoxView::GroupBoxView(controls::GroupBox& model, platform::MessageSink& sink, QWidget* parent)
    : MouseForwarding(model, sink, Clicks::OnRelease, parent), model_(model),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    // Opaque even without a colour of its own: a pop-up box hides the controls it opens over.
    setAutoFillBackground(true);
    sync();
}

void GroupBoxView::sync() {
    setTitle(toQt(model_.caption()));
    applyCommon(*this, model_);
    applyColors(*this, model_, QPalette::Window, QPalette::WindowText);
}

void GroupBoxView::paintEvent(QPaintEvent*) {
    paintGroupFrame(*this);
}

} // namespace tarvel::ui::view
