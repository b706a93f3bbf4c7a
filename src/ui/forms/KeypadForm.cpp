#include "ui/forms/KeypadForm.h"

#include <string>

namespace tarvel::ui::forms {

KeypadForm::KeypadForm() {
    addWindow(TForm3, kDesignWidth, kDesignHeight);
    styles[TForm3].popUp = true;
    TForm3.setAccessibleName("Keypad memories");
    add(PnKn, TForm3, 0, 0, kDesignWidth, kDesignHeight);
    PnKn.setColor(kActiveCaption);
    PnKn.setAccessibleName("Keypad");
    for (int j = 1; j <= 14; ++j) {
        controls::Button& button = *buttons[j - 1];
        const int column = (j - 1) % 2;
        const int row = (j - 1) / 2;
        // Bt1..Bt8 lie on the panel, Bt9..Bt14 on the window over it; the panel sits at the window's
        // origin, so both use the same coordinates.
        add(button, j <= 8 ? static_cast<controls::Control&>(PnKn) : TForm3, 20 + 150 * column, 12 + 47 * row,
            129, 33);
        styles[button].bold = true;
        button.setAccessibleName("Memory " + std::to_string(j + 4));
    }
}

void KeypadForm::resized() {
    PnKn.setBounds(0, 0, TForm3.width(), TForm3.height());
}

} // namespace tarvel::ui::forms
