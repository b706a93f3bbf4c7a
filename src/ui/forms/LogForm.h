#pragma once
// The log window TForm2 as data: the log text in a Courier box with a vertical scroll bar, and "Save".
#include "ui/controls/Memo.h"
#include "ui/controls/Simple.h"
#include "ui/forms/Inventory.h"

namespace tarvel::ui::forms {

struct LogForm : Inventory {
    LogForm();

    // The text box follows the window: its width less 30 and its height less 60 pixels.
    void resized();

    static constexpr int kDesignWidth = 592;
    static constexpr int kDesignHeight = 400;
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 47;

    controls::Form TForm2{"TForm2", "Log"};
    controls::MenuItem Save1{"Save1", "Save"};
    controls::Memo Memo1{"Memo1"};
};

} // namespace tarvel::ui::forms
