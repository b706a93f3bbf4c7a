#pragma once
// A check box: a change of its state, by the operator or the program, runs its click handler.
#include "ui/controls/Control.h"

#include <string>

namespace tarvel::ui::controls {

class CheckBox : public Control {
public:
    CheckBox(std::string name, std::string caption, bool checked = false);
    bool checked() const { return checked_; }
    void setChecked(bool checked);

protected:
    // The operator's click toggles the box.
    void clicked() override { setChecked(!checked_); }

private:
    bool checked_;
};

} // namespace tarvel::ui::controls
