#include "ui/view/ButtonView.h"

namespace tarvel::ui::view {

ButtonView::ButtonView(controls::Button& model, platform::MessageSink& sink, QWidget* parent)
    : MouseForwarding(model, sink, Clicks::FromWidget, parent), model_(model),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this,
            [this] { platform::runGuarded(this->sink(), [this] { model_.click(); }); });
    sync();
}

void ButtonView::sync() {
    setText(toQt(model_.caption()));
    applyCommon(*this, model_);
    applyColors(*this, model_, QPalette::Button, QPalette::ButtonText);
}

} // namespace tarvel::ui::view
