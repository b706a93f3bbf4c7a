#include "ui/forms/Inventory.h"

namespace tarvel::ui::forms {

controls::Control* Inventory::find(std::string_view name) const {
    if (window_ && window_->name() == name)
        return window_;
    for (controls::Control* control : all_)
        if (control->name() == name)
            return control;
    return nullptr;
}

void Inventory::addWindow(controls::Form& window, int width, int height) {
    window.setBounds(0, 0, width, height);
    window_ = &window;
}

void Inventory::add(controls::Control& control, controls::Control& parent, int left, int top, int width,
                    int height) {
    control.setParent(parent);
    control.setBounds(left, top, width, height);
    all_.push_back(&control);
}

void Inventory::addMenu(controls::Control& item, controls::Control& parent) {
    item.setParent(parent);
    all_.push_back(&item);
}

} // namespace tarvel::ui::forms
