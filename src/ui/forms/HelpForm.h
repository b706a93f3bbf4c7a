#pragma once
// The help window TForm4 as data: one text box with both scroll bars showing "readme.txt".
#include "ui/controls/Memo.h"
#include "ui/controls/Simple.h"
#include "ui/forms/Inventory.h"

namespace tarvel::ui::forms {

struct HelpForm : Inventory {
    HelpForm();

    // The text box follows the window: its width less 12 and its height less 33 pixels.
    void resized();

    static constexpr int kDesignWidth = 875;
    static constexpr int kDesignHeight = 412;
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 27;

    controls::Form TForm4{"TForm4", "Help"};
    controls::Memo Memo1{"Memo1"};
};

} // namespace tarvel::ui::forms
