#include "ui/view/ScrollBarView.h"

#include "ui/view/ViewSupport.h"

#include <QKeyEvent>
#include <algorithm>
#include <climits>

namespace tarvel::ui::view {

ScrollBarView::ScrollBarView(controls::ScrollBar& model, platform::MessageSink& sink, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent), model_(model), sink_(sink),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    // actionTriggered comes only from the operator, with the slider already at the wanted position
    // and the value not yet taken; setting the model's position here makes the bar take that instead.
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        // The page step is kept out of the widget (it would size the thumb); a page action moves by the
        // model's large change here.
        int wanted = sliderPosition();
        if (action == SliderPageStepAdd)
            wanted = static_cast<int>(
                std::min<long long>(INT_MAX, static_cast<long long>(value()) + model_.largeChange()));
        else if (action == SliderPageStepSub)
            wanted = static_cast<int>(
                std::max<long long>(INT_MIN, static_cast<long long>(value()) - model_.largeChange()));
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
    // A thumb of the style's own small size, whatever the range: the tuning bar's thumb does not grow.
    setPageStep(0);
    setValue(model_.position());
    applyCommon(*this, model_);
}

} // namespace tarvel::ui::view
