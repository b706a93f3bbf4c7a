#include "ui/view/RadioGroupView.h"

#include "ui/view/Accessibility.h"

#include <QVBoxLayout>

namespace tarvel::ui::view {

namespace {
// One item: clicking it, with the mouse or through an assistive technology, chooses it.
class ItemButton : public QRadioButton, public OperatorClick {
public:
    ItemButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}
    bool acceptsClick() const override { return true; }
    void clickAsOperator() override { click(); }
};
} // namespace

RadioGroupView::RadioGroupView(controls::RadioGroup& model, platform::MessageSink& sink, QWidget* parent)
    : MouseForwarding(model, sink, Clicks::OnRelease, parent), model_(model),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    setAutoFillBackground(true); // as opaque as the other containers
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(0);
    for (std::size_t i = 0; i < model_.items().size(); ++i) {
        auto* button = new ItemButton(toQt(model_.items()[i]), this);
        button->setObjectName(QString::fromStdString(model_.name()) + QString::number(i));
        button->setAutoExclusive(false);
        layout->addWidget(button);
        buttons_.push_back(button);
        connect(button, &QRadioButton::clicked, this, [this, index = static_cast<int>(i)] {
            platform::runGuarded(this->sink(), [this, index] { model_.setItemIndex(index); });
            sync();
        });
    }
    sync();
}

void RadioGroupView::sync() {
    setTitle(toQt(model_.caption()));
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setChecked(static_cast<int>(i) == model_.itemIndex());
    applyCommon(*this, model_);
    applyColors(*this, model_, QPalette::Window, QPalette::WindowText);
}

void RadioGroupView::paintEvent(QPaintEvent*) {
    paintGroupFrame(*this);
}

} // namespace tarvel::ui::view
