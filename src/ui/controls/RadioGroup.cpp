#include "ui/controls/RadioGroup.h"

#include <algorithm>

namespace tarvel::ui::controls {

RadioGroup::RadioGroup(std::string name, std::string caption, std::vector<std::string> items, int itemIndex)
    : Control(std::move(name), std::move(caption)), items_(std::move(items)), itemIndex_(itemIndex) {}

void RadioGroup::setItemIndex(int index) {
    index = std::clamp(index, -1, static_cast<int>(items_.size()) - 1);
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    changed();
    if (onClick)
        onClick();
}

} // namespace tarvel::ui::controls
