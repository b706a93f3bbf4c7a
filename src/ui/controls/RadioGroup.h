#pragma once
// A radio group: a list of choices with one item index (−1 for none); a change of the index, by the
// operator or the program, runs its click handler.
#include "ui/controls/Control.h"

#include <string>
#include <vector>

namespace tarvel::ui::controls {

class RadioGroup : public Control {
public:
    RadioGroup(std::string name, std::string caption, std::vector<std::string> items, int itemIndex = -1);
    const std::vector<std::string>& items() const { return items_; }
    int itemIndex() const { return itemIndex_; }
    // Indexes beyond the items are limited to −1 … count − 1.
    void setItemIndex(int index);

private:
    std::vector<std::string> items_;
    int itemIndex_;
};

} // namespace tarvel::ui::controls
