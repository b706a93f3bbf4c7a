#pragma once
// The stereo samples a stream must play, built buffer by buffer straight from the synthesizer.
#include "synth/ToneSynthesizer.h"

#include <cstdint>
#include <vector>

namespace tarvel::audio::test {

struct Tone {
    synth::WaveformKind waveform = synth::WaveformKind::Off;
    std::int32_t level = 0;
    std::int64_t frequencyWord = 0;
};

inline void load(synth::ToneChannel& channel, const Tone& tone) {
    channel.waveform = static_cast<std::int32_t>(tone.waveform);
    channel.level = tone.level;
    channel.frequencyWord = tone.frequencyWord;
}

// Buffer k plays tones a[k] and b[k], both channels starting at time 0 and running on without a break.
inline std::vector<std::vector<std::int16_t>> referenceBuffers(const std::vector<Tone>& a,
                                                               const std::vector<Tone>& b, int frames) {
    std::vector<std::vector<std::int16_t>> buffers;
    std::vector<std::int16_t> blockA(frames + 1), blockB(frames + 1);
    double timeA = 0.0, timeB = 0.0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        synth::FillChannel(blockA.data(), static_cast<std::int32_t>(a[k].waveform), a[k].level,
                           static_cast<std::int32_t>(a[k].frequencyWord), frames, timeA);
        synth::FillChannel(blockB.data(), static_cast<std::int32_t>(b[k].waveform), b[k].level,
                           static_cast<std::int32_t>(b[k].frequencyWord), frames, timeB);
        std::vector<std::int16_t> out(2 * static_cast<std::size_t>(frames));
        synth::InterleaveChannels(out.data(), blockA.data(), blockB.data(), frames);
        buffers.push_back(std::move(out));
    }
    return buffers;
}

constexpr std::int64_t hertz(std::int64_t hz) {
    return hz * 4096;
}

} // namespace tarvel::audio::test
