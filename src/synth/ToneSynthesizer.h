// Computes a channel's tone samples for one output buffer and merges the two channels into stereo frames.
// Called by the audio worker thread, one buffer at a time.
#pragma once

#include "synth/ToneChannel.h"

#include <cstdint>

namespace tarvel::synth {

// Fills block[0..frames] (frames + 1 samples: the last one is not played, its instant becomes the new time)
// for the given waveform, level and low 32 bits of the frequency word, starting at time, which it advances
// to the instant of sample `frames`. Off zeroes the block and resets time; an unknown waveform touches
// nothing; a negative frame count does nothing.
void FillChannel(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                 std::int32_t frequencyWordLow32, int frames, double& time);

// From sample `at` of a buffer on (0 <= at <= frames), the tone has the low 32 bits `word`. A change that is
// not continuous keeps the channel-time formula (phase = angular frequency x the sample's instant), as every
// retune always did; a continuous one goes on from the phase the tone had at that sample, counting it in
// whole units from there on (CountedPhase), so the frequency moves without a phase jump.
struct FrequencyChange {
    int at = 0;
    std::int32_t word = 0;
    bool continuous = false;
};

// The one fill: as above with the word in force at sample 0, switching at each change (given in order of
// `at`); phase is the channel's counted phase, on while continuous changes are in force, and moved on to
// sample `frames` like time.
void FillChannel(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                 std::int32_t frequencyWordLow32, int frames, double& time, CountedPhase& phase,
                 const FrequencyChange* changes, int changeCount);

// Builds the fill's table of sample offsets (about 263 KB), once per process. The first fill builds it
// otherwise: called where a stream starts, it keeps that allocation off the audio worker's thread.
void PrepareFill();

// Takes the channel's waveform, level and frequency word once each, then fills as above with its time.
void FillChannel(std::int16_t* block, ToneChannel& channel, int frames);

// The same samples, each sample's phase reduced on its own (the route before the rotating fill); kept as
// the yardstick that is fast enough to check the program's fill over hundreds of millions of samples.
void FillChannelPointwise(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                          std::int32_t frequencyWordLow32, int frames, double& time);

// The same samples by the direct route (one extended-precision sine per sample); kept as the yardstick.
void FillChannelPlain(std::int16_t* block, std::int32_t waveform, std::int32_t level,
                      std::int32_t frequencyWordLow32, int frames, double& time);

// out[2k] = vfoA[k], out[2k + 1] = vfoB[k] for k < frames: VFO A is the left channel.
void InterleaveChannels(std::int16_t* out, const std::int16_t* vfoA, const std::int16_t* vfoB, int frames);

} // namespace tarvel::synth
