#include "ui/forms/HelpForm.h"

#include <algorithm>

namespace tarvel::ui::forms {

HelpForm::HelpForm() {
    // The memo rule counts from the outer size: border and caption lie outside the client area.
    addWindow(TForm4, kDesignWidth + kFrameWidth, kDesignHeight + kFrameHeight);
    styles[TForm4].popUp = true;
    TForm4.setFrame(kFrameWidth, kFrameHeight);
    add(Memo1, TForm4, 0, 0, 0, 0);
    resized();
    Memo1.setAccessibleName("Help text");
    Memo1.setScrollBars(controls::MemoScrollBars::Both);
}

// A window smaller than the margins leaves the box empty rather than of negative size.
void HelpForm::resized() {
    Memo1.setWidth(std::max(0, TForm4.width() - 12));
    Memo1.setHeight(std::max(0, TForm4.height() - 33));
}

} // namespace tarvel::ui::forms
