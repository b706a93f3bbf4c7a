#pragma once
// What the tone output loads into the two channels at each start, asked of whoever holds the VFOs (the
// frequency plan) at that moment.
#include "synth/ToneChannel.h"

#include <cstdint>

namespace tarvel::audio {

// What one channel plays from the next start on.
struct ChannelValues {
    std::int64_t word = 0; // tone frequency in 1/4096 Hz
    synth::WaveformKind waveform = synth::WaveformKind::Off;
    std::int32_t level = 0;
};

class ToneSource {
public:
    // VFO A's last applied coarse and fine values, stored as the frequency to come back to.
    virtual std::int32_t lastCoarse() const = 0;
    virtual std::int32_t lastFine() const = 0;
    // Each may throw the frequency-word failures; VFO B is asked first.
    virtual ChannelValues vfoA() const = 0;
    virtual ChannelValues vfoB() const = 0;

protected:
    ~ToneSource() = default;
};

} // namespace tarvel::audio
