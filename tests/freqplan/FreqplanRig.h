#pragma once
// A frequency plan, options and memories over two tone channels and a settings file of the test's own,
// holding the main window's design values.
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Memories.h"
#include "freqplan/Options.h"
#include "mock/Files.h"
#include "mock/RecordingMessageSink.h"
#include "platform/Failure.h"
#include "platform/MessageSink.h"
#include "station/SettingsWriter.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tarvel::test {

using mock::readFile;

struct FreqplanRig {
    // A later run over the same settings file is a second rig on the first one's path.
    explicit FreqplanRig(std::string iniPath = mock::scratchSettingsPath()) : ini(std::move(iniPath)) {
        plan.assumeVfoA(480000, 0, synth::WaveformKind::Off, 22000);
        plan.assumeVfoB(135700, synth::WaveformKind::Off, 20000);
        plan.onVfoATone.connect([this](const freqplan::Tone& t) { vfoATone = t; });
        plan.onVfoBTone.connect([this](const freqplan::Tone& t) { vfoBTone = t; });
        // The window's writer keeps what the plan, the options and the memories tell.
        station::writeChangesOf(ini, plan);
        station::writeChangesOf(ini, options);
        station::writeChangesOf(ini, memories);
    }

    synth::ToneChannel vfoA, vfoB;
    settings::IniFile ini;
    mock::RecordingMessageSink sink;
    freqplan::FrequencyPlan plan{vfoA, vfoB};
    freqplan::Options options;
    freqplan::Memories memories{plan, ini};
    // The tones last reported.
    std::optional<freqplan::Tone> vfoATone, vfoBTone;

    // An operator action: a failure goes to the message box, as the window's event loop would show it.
    void act(const std::function<void()>& f) { platform::runGuarded(sink, f); }
};

} // namespace tarvel::test
