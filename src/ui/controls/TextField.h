#pragma once
// A one-line text field whose change handler runs inside the setter whenever its text becomes different.
#include "ui/controls/Control.h"

#include <functional>
#include <string>

namespace tarvel::ui::controls {

class TextField : public Control {
public:
    explicit TextField(std::string name, std::string text = {});

    // Windows-1251 text.
    const std::string& text() const { return text_; }
    // Replaces the text; a different text runs onChange at once, the same text runs nothing.
    void setText(std::string text);

    // Typed letters become capitals (Latin and Cyrillic).
    bool upperCase() const { return upperCase_; }
    void setUpperCase(bool on) { upperCase_ = on; }
    // What the operator's typing turns into before it reaches setText.
    std::string typed(std::string text) const;

    // Keyboard focus left the field.
    virtual void focusOut() {}

    std::function<void()> onChange;

private:
    std::string text_;
    bool upperCase_ = false;
};

} // namespace tarvel::ui::controls
