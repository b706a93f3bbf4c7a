#pragma once
// A radio button among the siblings of one container: checking it unchecks the others and runs its
// click handler; unchecking runs nothing.
#include "ui/controls/Control.h"

#include <memory>
#include <string>
#include <vector>

namespace tarvel::ui::controls {

class RadioButton;

// The buttons that exclude each other (those of one container).
class RadioSet {
public:
    void add(RadioButton& button) { buttons_.push_back(&button); }
    const std::vector<RadioButton*>& buttons() const { return buttons_; }

private:
    std::vector<RadioButton*> buttons_;
};

class RadioButton : public Control {
public:
    RadioButton(std::string name, std::string caption, RadioSet& set, bool checked = false);
    bool checked() const { return checked_; }
    void setChecked(bool checked);

protected:
    void clicked() override { setChecked(true); }

private:
    RadioSet& set_;
    bool checked_;
};

} // namespace tarvel::ui::controls
