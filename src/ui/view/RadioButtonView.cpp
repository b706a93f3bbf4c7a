#include "ui/view/RadioButtonView.h"

namespace tarvel::ui::view {

RadioButtonView::RadioButtonView(controls::RadioButton& model, platform::MessageSink& sink, QWidget* parent)
    : MouseForwarding(model, sink, Clicks::FromWidget, parent), model_(model),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    setAutoExclusive(false);
    connect(this, &QRadioButton::clicked, this, [this] {
        platform::runGuarded(this->sink(), [this] { model_.click(); });
        // A click on a checked button leaves it checked, although a non-exclusive QRadioButton toggled.
        sync();
    });
    sync();
}

void RadioButtonView::sync() {
    applyCheckable(*this, model_, model_.checked());
}

} // namespace tarvel::ui::view
