#include "ui/panels/AudioDevicePanel.h"

#include "ui/forms/MainForm.h"
#include "ui/panels/DeviceEntries.h"

namespace tarvel::ui::panels {

AudioDevicePanel::AudioDevicePanel(forms::MainForm& form, audio::AudioDeviceChoice& choice)
    : popup_(form.PnAudio), pcmField_(form.EdAudio), choice_(choice) {
    form.AudioDevice1.onClick = [this] { open(); };
    pcmField_.onDropDown = [this] { showEntries(); };
    form.BtAudio.onClick = [this] {
        popup_.hide();
        choice_.choose(pcmField_.text());
    };
}

void AudioDevicePanel::open() {
    pcmField_.setText(choice_.inUse());
    popup_.show();
}

void AudioDevicePanel::showEntries() {
    pcmField_.setEntries(deviceEntries(choice_.offered()));
}

} // namespace tarvel::ui::panels
