#include "ui/panels/AudioDevicePanel.h"

#include "platform/Failure.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/DeviceEntries.h"

namespace tarvel::ui::panels {

AudioDevicePanel::AudioDevicePanel(forms::MainForm& form, audio::AudioDeviceChoice& choice)
    : popup_(form.PnAudio), pcmField_(form.EdAudio), choice_(choice) {
    form.AudioDevice1.onClick = [this] { open(); };
    pcmField_.onDropDown = [this] { showEntries(); };
    form.BtAudio.onClick = [this] {
        const std::string pcm = pcmField_.text();
        // A refused name is said at once, and the panel stays open for the operator to correct it.
        if (const std::string why = choice_.refusal(pcm); !why.empty())
            throw platform::Failure(why);
        popup_.hide();
        choice_.choose(pcm);
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
