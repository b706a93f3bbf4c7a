#pragma once
// The settings file read once at start-up into plain values, for the window and the beacon alike. A
// missing key yields its design value; a value a control could not show is pulled into that control's
// range here. VFO A's frequency and tuning range stay as stored: how they settle depends on each other
// (the fine value's carry, the tuning bar), and the beacon refuses what the window would move.
#include "audio/ClockCorrection.h"
#include "freqplan/FrequencyPlan.h"
#include "keyer/CustomMode.h"
#include "keyer/WsprBeacon.h"
#include "settings/IniFile.h"

#include <array>
#include <cstdint>
#include <string>

namespace tarvel::station {

struct StoredSettings {
    freqplan::Factors factors;
    audio::CancelledOffset cancelledOffset; // what the correction already cancels of the card's clock
    std::int32_t vfoACoarseHz = 0;          // 0: Start never stored one
    std::int32_t vfoAFineCentiHz = 0;
    std::int32_t vfoBHz = 0;
    synth::WaveformKind vfoAWaveform = synth::WaveformKind::Off;
    synth::WaveformKind vfoBWaveform = synth::WaveformKind::Off;
    std::array<std::int32_t, 18> memoryCoarseHz{};
    std::int32_t rangeMinHz = 0;
    std::int32_t rangeMaxHz = 0;
    bool compactShowsVfoA = false;
    bool compactShowsVfoB = false;
    std::int32_t portChoice = 0;
    std::int32_t keyLineChoice = 0;
    std::string port1;
    std::string port2;
    std::array<std::string, 4> messages;
    std::int32_t bufferKiB = 0;
    keyer::CustomMode customMode;
    bool logging = false;
    std::int32_t endIdSpeed = 0;
    std::int32_t startIdSpeed = 0;
    std::string startIdText;
    std::string endIdText;
    std::int32_t priority = 0;
    keyer::WsprValues wspr;
};

// Every stored setting, in the order the window has always read them.
StoredSettings readStoredSettings(const settings::IniReader& file);

} // namespace tarvel::station
