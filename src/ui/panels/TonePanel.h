#pragma once
// The tone's Start and Stop buttons and the buffer-size panel, bound to the tone output; the buttons show
// what the output allows. Called on the user-interface thread.
#include "audio/ToneOutput.h"
#include "ui/controls/Simple.h"
#include "ui/controls/SpinField.h"
#include "ui/forms/MainForm.h"

#include <cstdint>

namespace tarvel::ui::panels {

class TonePanel {
public:
    // Connects the controls and follows the output's state.
    TonePanel(forms::MainForm& form, audio::ToneOutput& tone);

    // The buffer size shown, in KiB; set as the operator would set it, running the field's handler.
    std::int32_t bufferSetting() const { return bufferSize_.value(); }
    void showBufferSetting(std::int32_t kib);

private:
    // The buffer panel's "OK": hides the panel and stores the size.
    void closeBufferPanel();
    // Start while the tone is off; Stop while it plays and no transmission owns it.
    void showState();

    controls::Button& start_;
    controls::Button& stop_;
    controls::Control& bufferPanel_;
    controls::SpinField& bufferSize_;
    audio::ToneOutput& tone_;
};

} // namespace tarvel::ui::panels
