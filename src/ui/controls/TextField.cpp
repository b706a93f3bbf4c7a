#include "ui/controls/TextField.h"

#include "platform/Cp1251.h"

#include <utility>

namespace tarvel::ui::controls {

TextField::TextField(std::string name, std::string text) : Control(std::move(name)), text_(std::move(text)) {}

void TextField::setText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    changed();
    if (onChange)
        onChange();
}

std::string TextField::typed(std::string text) const {
    return upperCase_ ? platform::cp1251ToUpper(text) : text;
}

} // namespace tarvel::ui::controls
