#pragma once
// The memory buttons of the main window and the keypad window, and the function keys, bound to the
// memories and VFO A's panel. Called on the user-interface thread.
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Memories.h"
#include "ui/controls/Control.h"
#include "ui/controls/Simple.h"
#include "ui/forms/KeypadForm.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/VfoPanels.h"

#include <array>
#include <cstdint>

namespace tarvel::ui::panels {

class MemoriesPanel {
public:
    MemoriesPanel(forms::MainForm& form, forms::KeypadForm& keypad, freqplan::Memories& memories,
                  const freqplan::FrequencyPlan& plan, VfoAPanel& vfoA);

    // k = 1 … 18.
    void store(int k);
    void recall(int k);
    // Keypad button j = 1 … 14 serves memory j + 4: a right press stores, a left click recalls.
    void keypadMouseDown(int j, controls::MouseButton button);
    void keypadClick(int j);
    // Function key n (F1 = 1) pressed anywhere in the main window; never consumes the key.
    // F1 … F4 store memories 1 … 4, F8 lowers and F9 raises the fine value by 5.
    void functionKeyPressed(int functionKey);
    // Start-up: the loaded coarse values of memories 1 … 4 as their recall buttons' captions.
    void showCaptions();
    // The keyboard to the window's own box, where the function keys reach the window.
    void takeKeyboard();

private:
    void showKeypad();

    controls::Control& keyboardBox_;
    std::array<controls::Button*, 4> recallButtons_; // captions show the coarse values
    controls::Form& keypadWindow_;
    const std::array<controls::Button*, 14>& keypadButtons_; // memories 5 … 18
    freqplan::Memories& memories_;
    const freqplan::FrequencyPlan& plan_;
    VfoAPanel& vfoA_;
};

} // namespace tarvel::ui::panels
