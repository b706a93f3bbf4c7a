#include "ui/view/ScrollBarView.h"

#include "ui/view/ViewSupport.h"

#include <QKeyEvent>

namespace tarvel::ui::view {

ScrollBarView::ScrollBarView(controls::ScrollBar& model, platform::MessageSink& sink, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent), model_(model), sink_(sink),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    // actionTriggered comes only from the operator, with the slider already at the wanted position
    // and the value not yet taken; setting the model's position here makes the bar take that instead.
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int) {
        const int wanted = sliderPosition();
        platform::runGuarded(sink_, [this, wanted] { model_.setPosition(wanted); });
        sync();
    });
    setFocusPolicy(Qt::StrongFocus);
    // The bar has no "Scroll here" menu of its own.
    setContextMenuPolicy(Qt::NoContextMenu);
    sync();
}

void ScrollBarView::keyPressEvent(QKeyEvent* event) {
    // QScrollBar inverts its keys for scroll areas (Right would move a horizontal bar left).
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    case Qt::Key_Home:
        action = SliderToMinimum;
        break;
    case Qt::Key_End:
        action = SliderToMaximum;
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    triggerAction(action);
    event->accept();
}

void ScrollBarView::sync() {
    setRange(model_.minValue(), model_.maxValue());
    setSingleStep(model_.smallChange());
    setPageStep(model_.largeChange());
    setValue(model_.position());
    applyCommon(*this, model_);
}

} // namespace tarvel::ui::view
