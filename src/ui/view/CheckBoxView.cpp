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
    applyCheckable(*this, model_, model_.checked());
}

} // namespace tarvel::ui::view
