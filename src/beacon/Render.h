#pragma once
// The run written to a WAV file instead of played: the samples the audio worker's buffers would carry,
// filled by the same synthesizer, with VFO A's words placed on the samples of their instants.
#include "beacon/Rehearsal.h"

#include <cstdint>
#include <string>

namespace tarvel::beacon {

struct RenderResult {
    std::int64_t frames = 0; // written
    std::string error;       // names the file and why it cannot be written; empty when written
};

// 44100 Hz, 16-bit stereo PCM, VFO A left: from the first pass's start, sample 0, through the buffer that
// holds the last PTT off. The tone plays on between passes. Written a buffer at a time.
RenderResult renderRun(const std::string& path, const Rehearsal& plan);

} // namespace tarvel::beacon
