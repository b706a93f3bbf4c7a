#pragma once
// The audio-device panel: the PCM in use, typed or picked from those present; "OK" stores it for the
// next Start, or says why the name is refused. Called on the user-interface thread.
#include "audio/AudioDeviceChoice.h"
#include "ui/controls/ComboField.h"
#include "ui/controls/Simple.h"

namespace tarvel::ui::forms {
struct MainForm;
}

namespace tarvel::ui::panels {

class AudioDevicePanel {
public:
    AudioDevicePanel(forms::MainForm& form, audio::AudioDeviceChoice& choice);

private:
    // Opens the panel on the PCM in use; the PCMs present are looked up as the field's list opens.
    void open();
    void showEntries();

    controls::Control& popup_;
    controls::ComboField& pcmField_;
    audio::AudioDeviceChoice& choice_;
};

} // namespace tarvel::ui::panels
