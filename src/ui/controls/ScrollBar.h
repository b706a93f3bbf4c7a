#pragma once
// A scroll bar: setting the position clamps it to the range and runs the change handler only when the
// position moves; a range whose maximum would fall below its minimum is refused.
#include "ui/controls/Control.h"

#include <functional>
#include <string>

namespace tarvel::ui::controls {

class ScrollBar : public Control {
public:
    ScrollBar(std::string name, int minValue, int maxValue, int position, int smallChange, int largeChange);

    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int position() const { return position_; }
    int smallChange() const { return smallChange_; }
    int largeChange() const { return largeChange_; }

    void setPosition(int position);
    // The same without the change handler, for a position the program shows rather than the operator
    // sets; true when the position moved.
    bool showPosition(int position);
    // Each refuses a range with maximum below minimum with "Scrollbar property out of range" and
    // changes nothing; otherwise a position outside the new range moves to the nearer limit.
    void setMax(int maxValue);
    void setMin(int minValue);
    void setRange(int minValue, int maxValue);

    std::function<void()> onChange;

private:
    int min_, max_, position_, smallChange_, largeChange_;
};

} // namespace tarvel::ui::controls
