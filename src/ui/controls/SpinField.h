#pragma once
// A spin field: an integer text field with a range and up/down steps.
// Its value is its text read as an integer, or the minimum when the text is not one (a read never
// clamps); setting the value clamps to the range unless minimum equals maximum.
#include "ui/controls/TextField.h"

#include <string>

namespace tarvel::ui::controls {

class SpinField : public TextField {
public:
    SpinField(std::string name, int minValue, int maxValue, int increment, int value);

    int value() const;
    void setValue(int value);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int increment() const { return increment_; }
    void setIncrement(int increment) { increment_ = increment; }

    void stepUp();   // the up button or arrow key
    void stepDown(); // the down button or arrow key
    // An out-of-range value is set again, clamped.
    void focusOut() override;
    // Only digits, '+', '-' and the locale's decimal separator can be typed.
    static bool acceptsChar(char c);

private:
    int clamp(long long value) const;
    int min_, max_, increment_;
};

} // namespace tarvel::ui::controls
