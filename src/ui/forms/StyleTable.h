#pragma once
// The drawing styles of a window's controls; a control not in the table is drawn the toolkit's way.
#include "ui/controls/Control.h"
#include "ui/forms/ControlStyle.h"

#include <unordered_map>

namespace tarvel::ui::forms {

class StyleTable {
public:
    // The style of the control, added with the defaults when it has none yet.
    ControlStyle& operator[](const controls::Control& control) { return styles_[&control]; }
    ControlStyle of(const controls::Control& control) const {
        const auto it = styles_.find(&control);
        return it == styles_.end() ? ControlStyle{} : it->second;
    }

private:
    std::unordered_map<const controls::Control*, ControlStyle> styles_;
};

} // namespace tarvel::ui::forms
