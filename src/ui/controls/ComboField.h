#pragma once
// A text field with a drop-down list of values to pick from; the text stays free to type. Picking an
// entry puts its value in the field, as typing it would.
#include "ui/controls/TextField.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvel::ui::controls {

class ComboField : public TextField {
public:
    struct Entry {
        std::string value; // what picking the entry puts in the field (Windows-1251)
        std::string shown; // what the list shows for it (Windows-1251)
    };

    using TextField::TextField;

    const std::vector<Entry>& entries() const { return entries_; }
    void setEntries(std::vector<Entry> entries) {
        entries_ = std::move(entries);
        changed();
    }

    // The operator opens the list: its owner refreshes the entries first.
    void dropDown() {
        if (onDropDown)
            onDropDown();
    }
    // The operator picked an entry: its value becomes the text (an index beyond the entries does nothing).
    void pick(std::size_t index) {
        if (index < entries_.size())
            setText(entries_[index].value);
    }

    std::function<void()> onDropDown;

private:
    std::vector<Entry> entries_;
};

} // namespace tarvel::ui::controls
