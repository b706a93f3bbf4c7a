#include "ui/panels/TonePanel.h"

namespace tarvel::ui::panels {

TonePanel::TonePanel(TonePanelControls controls, audio::ToneOutput& tone) : c_(controls), tone_(tone) {
    c_.btnPlay.onClick = [this] { btnPlayClick(); };
    c_.btnStop.onClick = [this] { btnStopClick(); };
    c_.Buffer1.onClick = [this] { Buffer1Click(); };
    c_.SpinEdit1.onChange = [this] { SpinEdit1Change(); };
    c_.Button8.onClick = [this] { Button8Click(); };
    tone_.onStateChange = [this] { showState(); };
}

void TonePanel::btnPlayClick() {
    tone_.start();
}

void TonePanel::btnStopClick() {
    tone_.stop();
}

void TonePanel::Buffer1Click() {
    c_.PnBuffer.show();
}

void TonePanel::SpinEdit1Change() {
    tone_.setBufferSetting(c_.SpinEdit1.value());
}

void TonePanel::Button8Click() {
    c_.PnBuffer.hide();
    tone_.saveBufferSetting(c_.SpinEdit1.value());
}

void TonePanel::showState() {
    c_.btnPlay.setEnabled(!tone_.playing());
    c_.btnStop.setEnabled(tone_.playing() && !tone_.heldForTransmission());
}

} // namespace tarvel::ui::panels
