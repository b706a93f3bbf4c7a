#include "ui/panels/TonePanel.h"

namespace tarvel::ui::panels {

std::string underrunsText(const audio::ToneOutput& tone) {
    const std::string underruns = "Underruns: " + std::to_string(tone.underruns());
    const std::int64_t lost = tone.lostRetunes();
    return lost == 0 ? underruns : underruns + ", VFO A moves lost: " + std::to_string(lost);
}

TonePanel::TonePanel(forms::MainForm& form, audio::ToneOutput& tone)
    : start_(form.btnPlay), stop_(form.btnStop), streamPanel_(form.PnBt), bufferPanel_(form.PnBuffer),
      bufferSize_(form.SpinEdit1), tone_(tone) {
    start_.onClick = [this] { tone_.start(); };
    stop_.onClick = [this] { tone_.stop(); };
    form.Buffer1.onClick = [this] { bufferPanel_.show(); };
    bufferSize_.onChange = [this] { tone_.setBufferSetting(bufferSize_.value()); };
    form.Button8.onClick = [this] { closeBufferPanel(); };
    tone_.onStateChange.connect([this] { showState(); });
    showUnderruns();
}

void TonePanel::showBufferSetting(std::int32_t kib) {
    bufferSize_.setValue(kib);
}

void TonePanel::closeBufferPanel() {
    bufferPanel_.hide();
    tone_.saveBufferSetting(bufferSize_.value());
}

void TonePanel::showState() {
    start_.setEnabled(!tone_.playing());
    stop_.setEnabled(tone_.playing() && !tone_.heldForTransmission());
    showUnderruns();
}

void TonePanel::showUnderruns() {
    streamPanel_.setHint(underrunsText(tone_));
}

} // namespace tarvel::ui::panels
