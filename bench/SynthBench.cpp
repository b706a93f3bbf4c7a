// Cost of one output buffer (both channels filled, then interleaved) as a fraction of the time it plays,
// for the program's fill beside its references: the route that reduces each sample's phase on its own,
// the direct route with one extended-precision sine per sample, and a plain double sine (not exact).
#include "synth/SampleClock.h"
#include "synth/ToneSynthesizer.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using tarvel::synth::FillChannel;
using tarvel::synth::FillChannelPlain;
using tarvel::synth::FillChannelPointwise;
using tarvel::synth::InterleaveChannels;

// What most tone generators do: double time and phase, the double sine, lrint. Sine only; its samples
// differ from the program's now and then.
void FillDoubleSine(std::int16_t* block, std::int32_t, std::int32_t level, std::int32_t word, int frames,
                    double& time) {
    const double omega = tarvel::synth::AngularFrequency(word);
    const double start = time;
    for (int i = 0; i <= frames; ++i) {
        const double t = start + i / 44100.0;
        block[i] = static_cast<std::int16_t>(std::lrint(std::sin(omega * t) * level));
    }
    time = start + frames / 44100.0;
}

using FillFunction = void (*)(std::int16_t*, std::int32_t, std::int32_t, std::int32_t, int, double&);

// VFO A a sine near 8.7 kHz with hundredth-hertz digits, VFO B a 12 kHz sine; an hour into the stream,
// where the phases are large.
void FillBuffers(benchmark::State& state, FillFunction fill) {
    const int frames = static_cast<int>(state.range(0));
    std::vector<std::int16_t> vfoA(frames + 1);
    std::vector<std::int16_t> vfoB(frames + 1);
    std::vector<std::int16_t> out(2 * frames);
    double timeA = 3600.0;
    double timeB = 3600.0;
    for (auto _ : state) {
        fill(vfoA.data(), 1, 22000, 35651584 + 41, frames, timeA);
        fill(vfoB.data(), 1, 30000, 4096 * 12000, frames, timeB);
        InterleaveChannels(out.data(), vfoA.data(), vfoB.data(), frames);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    // Rate counter inverted: CPU seconds per (iterations x buffer period).
    const double period = frames / 44100.0;
    const double played = static_cast<double>(state.iterations()) * period;
    const auto perPlayedSecond = benchmark::Counter::kIsRate | benchmark::Counter::kInvert;
    state.counters["period_fraction"] = benchmark::Counter(played, perPlayedSecond);
    state.counters["period_percent"] = benchmark::Counter(played / 100.0, perPlayedSecond);
}

// The program's fill with frequency changes inside each buffer: continuous (the counted phase) or not
// (the channel-time formula), two per buffer as fast frequency-shift keying would give.
template <bool continuous>
void FillChanging(std::int16_t* block, std::int32_t waveform, std::int32_t level, std::int32_t word,
                  int frames, double& time) {
    static tarvel::synth::CountedPhase phase;
    const tarvel::synth::FrequencyChange changes[2] = {{frames / 3, word + 4096 * 3, continuous},
                                                       {2 * frames / 3, word, continuous}};
    FillChannel(block, waveform, level, word, frames, time, phase, changes, 2);
}

void BM_ProgramFill(benchmark::State& state) {
    FillBuffers(state, FillChannel);
}
void BM_ProgramFillContinuousChanges(benchmark::State& state) {
    FillBuffers(state, FillChanging<true>);
}
void BM_ProgramFillRetunes(benchmark::State& state) {
    FillBuffers(state, FillChanging<false>);
}
void BM_PointwiseFill(benchmark::State& state) {
    FillBuffers(state, FillChannelPointwise);
}
void BM_PlainSinlFill(benchmark::State& state) {
    FillBuffers(state, FillChannelPlain);
}
void BM_DoubleSinFill(benchmark::State& state) {
    FillBuffers(state, FillDoubleSine);
}

BENCHMARK(BM_ProgramFill)->Arg(4096)->Arg(8192)->Arg(12288)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramFillContinuousChanges)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramFillRetunes)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointwiseFill)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSinlFill)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleSinFill)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);

} // namespace
