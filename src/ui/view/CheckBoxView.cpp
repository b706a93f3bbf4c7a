#include "ui/view/CheckBoxView.h"

namespace tarvel::ui::view {

CheckBoxView::CheckBoxView(controls::CheckBox& model, platform::MessageSink& sink, QWidget* parent)
    : MouseForwarding(model, sink, Clicks::FromWidget, parent), model_(model),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    // clicked comes from the operator only; the model's own changes arrive through sync.
    connect(this, &QCheckBox::clicked, this, [this](bool checked) {
        platform::runGuarded(this->sink(), [this, checked] { model_.setChecked(checked); });
        sync();
    });
    sync();
}

void CheckBoxView::sync() {
    setText(toQt(model_.caption()));
    setChecked(model_.checked());
    applyCommon(*this, model_);
    setAutoFillBackground(model_.color() != controls::kDefaultColor);
    applyColors(*this, model_, QPalette::Window, QPalette::WindowText);
}

} // namespace tarvel::ui::view
