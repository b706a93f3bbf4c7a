#include "ui/controls/ScrollBar.h"

#include "platform/Failure.h"

#include <algorithm>

namespace tarvel::ui::controls {

ScrollBar::ScrollBar(std::string name, int minValue, int maxValue, int position, int smallChange,
                     int largeChange)
    : Control(std::move(name)), min_(minValue), max_(maxValue),
      position_(std::clamp(position, minValue, maxValue)), smallChange_(smallChange),
      largeChange_(largeChange) {}

void ScrollBar::setPosition(int position) {
    if (showPosition(position) && onChange)
        onChange();
}

bool ScrollBar::showPosition(int position) {
    position = std::clamp(position, min_, max_);
    if (position == position_)
        return false;
    position_ = position;
    changed();
    return true;
}

void ScrollBar::setRange(int minValue, int maxValue) {
    if (maxValue < minValue)
        throw platform::Failure("Scrollbar property out of range");
    if (minValue == min_ && maxValue == max_)
        return;
    min_ = minValue;
    max_ = maxValue;
    changed();
    setPosition(position_);
}

void ScrollBar::setMax(int maxValue) {
    setRange(min_, maxValue);
}

void ScrollBar::setMin(int minValue) {
    setRange(minValue, max_);
}

} // namespace tarvel::ui::controls
