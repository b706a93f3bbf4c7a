#include "ui/controls/CheckBox.h"

namespace tarvel::ui::controls {

CheckBox::CheckBox(std::string name, std::string caption, bool checked)
    : Control(std::move(name), std::move(caption)), checked_(checked) {}

void CheckBox::setChecked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    changed();
    if (onClick)
        onClick();
}

} // namespace tarvel::ui::controls
