#pragma once
// The tone's Start and Stop buttons and the buffer-size panel, bound to the tone output; the buttons show
// what the output allows. Called on the user-interface thread.
#include "audio/ToneOutput.h"
#include "ui/controls/Simple.h"
#include "ui/controls/SpinField.h"
#include "ui/forms/MainForm.h"

#include <cstdint>
#include <string>

namespace tarvel::ui::panels {

// What the operator is told of the latest stream's underruns, e.g. "Underruns: 3", and of VFO A's moves it
// had no room for, once there are any: "Underruns: 3, VFO A moves lost: 2".
std::string underrunsText(const audio::ToneOutput& tone);

class TonePanel {
public:
    // Connects the controls and follows the output's state.
    TonePanel(forms::MainForm& form, audio::ToneOutput& tone);

    // The buffer size shown, in KiB; set as the operator would set it, running the field's handler.
    std::int32_t bufferSetting() const { return bufferSize_.value(); }
    void showBufferSetting(std::int32_t kib);

    // The latest stream's underruns as the stream panel's tool tip; after every start and stop, and on
    // whatever tick keeps it current while the tone plays.
    void showUnderruns();

private:
    // The buffer panel's "OK": hides the panel and stores the size.
    void closeBufferPanel();
    // Start while the tone is off; Stop while it plays and no transmission owns it.
    void showState();

    controls::Button& start_;
    controls::Button& stop_;
    controls::Control& streamPanel_;
    controls::Control& bufferPanel_;
    controls::SpinField& bufferSize_;
    audio::ToneOutput& tone_;
};

} // namespace tarvel::ui::panels
