#pragma once
// The keypad window TForm3 as data: fourteen memory buttons, Bt1..Bt8 on the coloured panel PnKn and
// Bt9..Bt14 on the window, in two columns (odd numbers left) and seven rows.
#include "ui/controls/Simple.h"
#include "ui/forms/Inventory.h"

#include <array>

namespace tarvel::ui::forms {

struct KeypadForm : Inventory {
    KeypadForm();

    // PnKn always covers the whole window.
    void resized();

    static constexpr int kDesignWidth = 319;
    static constexpr int kDesignHeight = 347;
    // The panel is in the desktop's active-caption colour (the usual modern default).
    static constexpr controls::Color kActiveCaption = controls::rgb(153, 180, 209);

    controls::Form TForm3{"TForm3", ""};
    controls::Panel PnKn{"PnKn"};
    controls::Button Bt1{"Bt1", "1"};
    controls::Button Bt2{"Bt2", "2"};
    controls::Button Bt3{"Bt3", "3"};
    controls::Button Bt4{"Bt4", "4"};
    controls::Button Bt5{"Bt5", "5"};
    controls::Button Bt6{"Bt6", "6"};
    controls::Button Bt7{"Bt7", "7"};
    controls::Button Bt8{"Bt8", "8"};
    controls::Button Bt9{"Bt9", "9"};
    controls::Button Bt10{"Bt10", "10"};
    controls::Button Bt11{"Bt11", "11"};
    controls::Button Bt12{"Bt12", "12"};
    controls::Button Bt13{"Bt13", "13"};
    controls::Button Bt14{"Bt14", "14"};

    // Button j (1-based) is buttons[j - 1]; it serves memory j + 4.
    const std::array<controls::Button*, 14> buttons{&Bt1, &Bt2, &Bt3,  &Bt4,  &Bt5,  &Bt6,  &Bt7,
                                                    &Bt8, &Bt9, &Bt10, &Bt11, &Bt12, &Bt13, &Bt14};
};

} // namespace tarvel::ui::forms
