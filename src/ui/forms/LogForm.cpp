#include "ui/forms/LogForm.h"

#include <algorithm>

namespace tarvel::ui::forms {

LogForm::LogForm() {
    // The memo rule counts from the outer size: border, caption and menu lie outside the client area.
    addWindow(TForm2, kDesignWidth + kFrameWidth, kDesignHeight + kFrameHeight);
    styles[TForm2].popUp = true;
    TForm2.setFrame(kFrameWidth, kFrameHeight);
    addMenu(Save1, TForm2);
    add(Memo1, TForm2, 0, 0, 0, 0);
    resized();
    Memo1.setAccessibleName("Activity log");
    styles[Memo1].fontFamily = "Courier";
    Memo1.setScrollBars(controls::MemoScrollBars::Vertical);
}

// A window smaller than the margins leaves the box empty rather than of negative size.
void LogForm::resized() {
    Memo1.setWidth(std::max(0, TForm2.width() - 30));
    Memo1.setHeight(std::max(0, TForm2.height() - 60));
}

} // namespace tarvel::ui::forms
