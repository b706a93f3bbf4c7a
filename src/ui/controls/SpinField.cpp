#include "ui/controls/SpinField.h"

#include "platform/Locale.h"

#include <algorithm>
#include <limits>

namespace tarvel::ui::controls {

SpinField::SpinField(std::string name, int minValue, int maxValue, int increment, int value)
    : TextField(std::move(name), std::to_string(value)), min_(minValue), max_(maxValue),
      increment_(increment) {}

int SpinField::value() const {
    return platform::parseInteger(text()).value_or(min_);
}

int SpinField::clamp(long long value) const {
    if (min_ != max_)
        value = std::clamp<long long>(value, min_, max_);
    // Outside the 32-bit range the text could not be read back; wrap as the 32-bit arithmetic does.
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

void SpinField::setValue(int value) {
    setText(std::to_string(clamp(value)));
}

void SpinField::stepUp() {
    setText(std::to_string(clamp(static_cast<long long>(value()) + increment_)));
}

void SpinField::stepDown() {
    setText(std::to_string(clamp(static_cast<long long>(value()) - increment_)));
}

void SpinField::focusOut() {
    const int v = value();
    if (clamp(v) != v)
        setValue(v);
}

bool SpinField::acceptsChar(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == platform::decimalSeparator();
}

} // namespace tarvel::ui::controls
