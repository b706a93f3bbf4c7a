#pragma once
// The Start and Stop commands of the tone stream and the buffer-size panel, on top of the output stream.
// Called on the user-interface thread.
#include "audio/OutputStream.h"
#include "controls/RadioGroup.h"
#include "controls/ScrollBar.h"
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "settings/IniFile.h"

#include <cstdint>
#include <functional>

namespace tarvel::audio {

struct StreamControls {
    controls::Button& btnPlay;
    controls::Button& btnStop;
    controls::Control& PnBuffer;
    controls::SpinField& SpinEdit1;
    controls::RadioGroup& rgR;
    controls::ScrollBar& LevRScrollBar1;
    controls::RadioGroup& rgL;
    controls::SpinField& seLLev;
};

// What Start takes from the frequency plan.
struct StreamTuning {
    std::function<std::int32_t()> lastCoarse;
    std::function<std::int32_t()> lastFine;
    // The channels' words from the present controls; each may throw the frequency-word failures.
    std::function<std::int64_t()> vfoAWord;
    std::function<std::int64_t()> vfoBWord;
};

class StreamControl {
public:
    StreamControl(StreamControls controls, OutputStream& stream, synth::ToneChannel& vfoA,
                  synth::ToneChannel& vfoB, settings::IniFile& settings, StreamTuning tuning);

    void btnPlayClick(); // Start
    void btnStopClick(); // Stop
    void Buffer1Click();
    void SpinEdit1Change();
    void Button8Click();

    bool playing() const { return stream_.playing() == 1; }
    // News from a worker that ended on a failure, on the user-interface thread. Only the running stream's
    // own worker counts; a stream stopped or started again since has nothing to report. Whatever needs
    // the tone ends first (onStreamLost), the controls return to the stopped state, and then the failure
    // is raised for the operator with the sound system's reason, once per stream.
    void workerFailed(std::uint64_t worker);
    std::function<void()> onStreamLost;
    // Start and Stop enabled as the stream's state allows: a transmission disables Stop while it runs.
    void showPlayingState();

private:
    StreamControls c_;
    OutputStream& stream_;
    synth::ToneChannel& vfoA_;
    synth::ToneChannel& vfoB_;
    settings::IniFile& settings_;
    StreamTuning tuning_;
};

} // namespace tarvel::audio
