#include "ui/controls/RadioButton.h"

namespace tarvel::ui::controls {

RadioButton::RadioButton(std::string name, std::string caption, RadioSet& set, bool checked)
    : Control(std::move(name), std::move(caption)), set_(set), checked_(checked) {
    set_.add(*this);
}

void RadioButton::setChecked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    changed();
    if (!checked)
        return;
    for (RadioButton* other : set_.buttons())
        if (other != this)
            other->setChecked(false);
    if (onClick)
        onClick();
}

} // namespace tarvel::ui::controls
