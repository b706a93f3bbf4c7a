#pragma once
// The tone's Start and Stop buttons and the buffer-size panel, bound to the tone output; the buttons show
// what the output allows. Called on the user-interface thread.
#include "audio/ToneOutput.h"
#include "controls/Simple.h"
#include "controls/SpinField.h"

namespace tarvel::ui::panels {

struct TonePanelControls {
    controls::Button& btnPlay;
    controls::Button& btnStop;
    controls::MenuItem& Buffer1;
    controls::Control& PnBuffer;
    controls::SpinField& SpinEdit1;
    controls::Button& Button8;
};

class TonePanel {
public:
    // Connects the controls and follows the output's state.
    TonePanel(TonePanelControls controls, audio::ToneOutput& tone);

    void btnPlayClick();
    void btnStopClick();
    void Buffer1Click();
    void SpinEdit1Change();
    void Button8Click();

private:
    // Start while the tone is off; Stop while it plays and no transmission owns it.
    void showState();

    TonePanelControls c_;
    audio::ToneOutput& tone_;
};

} // namespace tarvel::ui::panels
