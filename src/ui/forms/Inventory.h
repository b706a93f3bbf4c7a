#pragma once
// A window and the list of its controls in creation order (every parent before its children, menu items
// included, the window itself not), from which the view builds the widgets.
#include "ui/controls/Control.h"
#include "ui/controls/Simple.h"
#include "ui/forms/StyleTable.h"

#include <string_view>
#include <vector>

namespace tarvel::ui::forms {

class Inventory {
public:
    Inventory() = default;
    Inventory(const Inventory&) = delete;
    Inventory& operator=(const Inventory&) = delete;

    controls::Form& window() const { return *window_; }
    const std::vector<controls::Control*>& all() const { return all_; }
    // The control of that name (the window's included), or nullptr.
    controls::Control* find(std::string_view name) const;

    StyleTable styles;

protected:
    // The window itself, with its client size.
    void addWindow(controls::Form& window, int width, int height);
    // A control on its parent; the place is relative to the parent's client area.
    void add(controls::Control& control, controls::Control& parent, int left, int top, int width, int height);
    // A menu item: on the menu bar when its parent is the window, else in its parent's drop-down.
    void addMenu(controls::Control& item, controls::Control& parent);

private:
    controls::Form* window_ = nullptr;
    std::vector<controls::Control*> all_;
};

} // namespace tarvel::ui::forms
