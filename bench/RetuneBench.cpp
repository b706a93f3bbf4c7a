// How far from the asked instant a retune of VFO A is heard, at 16 and 64 KiB buffers, on a real PCM.
//
// VFO A plays a sine at 0 Hz (silence); a retune to 1 kHz is asked for an instant 2.5 s ahead, and the
// first sample that is no longer silent is the one the retune landed on. When it was heard is read from
// the positions the device itself reported while that sample played (the median of the reports in the
// following second), not from the estimate the worker placed it by 1.5 s earlier. The moves (at an
// instant, queued ahead, continuous and not) run beside the buffer path (the stored word set at the
// instant, heard from the next buffer filled).
//
// Through a sound server's null sink, started for example as
//     pulseaudio -n --daemonize=no --exit-idle-time=-1 -L "module-null-sink sink_name=bench"
//         -L "module-native-protocol-unix socket=/tmp/bench-pulse" &     (one line)
//     PULSE_SERVER=unix:/tmp/bench-pulse TARVEL_BENCH_PCM=pulse build/test/bench/tarvel_retune_bench
// The PCM is "default" unless TARVEL_BENCH_PCM names another; TARVEL_BENCH_RETUNES sets the count (10).
#include "audio/AlsaAudioDevice.h"
#include "audio/OutputStream.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

using namespace tarvel;

namespace {

std::string pcm() {
    const char* name = std::getenv("TARVEL_BENCH_PCM");
    return name && *name ? name : "default";
}

int retunes() {
    const char* count = std::getenv("TARVEL_BENCH_RETUNES");
    return count && std::atoi(count) > 0 ? std::atoi(count) : 10;
}

std::int64_t monotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

// The real device, watched: the first sound after silence once armed, and every position it reports.
class WatchedDevice final : public audio::AudioDevice {
public:
    struct Watch {
        std::mutex mutex;
        bool armed = false;
        std::int64_t firstSound = -1; // the stream's sample index
        std::vector<std::pair<std::int64_t, std::int64_t>> positions;
    };

    WatchedDevice(std::string name, std::shared_ptr<Watch> watch)
        : device_(std::move(name)), watch_(std::move(watch)) {}

    bool probe() override { return device_.probe(); }
    bool open(int framesPerBuffer) override { return device_.open(framesPerBuffer); }
    bool submit(const std::int16_t* interleaved, int frames) override {
        {
            const std::lock_guard lock(watch_->mutex);
            for (int k = 0; watch_->armed && k < frames; ++k)
                if (interleaved[2 * k] != 0) {
                    watch_->armed = false;
                    watch_->firstSound = submitted_ + k;
                }
        }
        submitted_ += frames;
        return device_.submit(interleaved, frames);
    }
    bool waitForCompletion() override { return device_.waitForCompletion(); }
    void wake() override { device_.wake(); }
    void reset() override { device_.reset(); }
    void close() override { device_.close(); }
    std::int64_t underrunCount() const override { return device_.underrunCount(); }
    std::string failureReason() const override { return device_.failureReason(); }
    bool playedPosition(PlayedPosition& position) override {
        if (!device_.playedPosition(position))
            return false;
        const std::lock_guard lock(watch_->mutex);
        watch_->positions.emplace_back(position.frames, position.monotonicNs);
        return true;
    }

private:
    audio::AlsaAudioDevice device_;
    std::shared_ptr<Watch> watch_;
    std::int64_t submitted_ = 0;
};

// When sample n was heard: the device's reports from the second after it played, their median.
double heardNs(const WatchedDevice::Watch& watch, std::int64_t n) {
    std::vector<double> starts;
    for (const auto& [frames, ns] : watch.positions)
        if (frames >= n && frames < n + 44100)
            starts.push_back(static_cast<double>(ns) - static_cast<double>(frames - n) * 1e9 / 44100);
    if (starts.empty())
        return NAN;
    std::nth_element(starts.begin(), starts.begin() + starts.size() / 2, starts.end());
    return starts[starts.size() / 2];
}

enum class Path { Buffer, Move, ContinuousMove };

void retuneLateness(benchmark::State& state, Path path) {
    const int bytes = static_cast<int>(state.range(0)) * 1024;
    synth::ToneChannel vfoA, vfoB;
    vfoA.waveform = static_cast<std::int32_t>(synth::WaveformKind::Sine);
    vfoA.level = 20000;
    constexpr std::int64_t kHeard = 4096 * 1000;
    auto watch = std::make_shared<WatchedDevice::Watch>();
    const std::string name = pcm();
    audio::OutputStream stream(vfoA, vfoB, [&] { return std::make_unique<WatchedDevice>(name, watch); });
    stream.setBufferBytes(bytes);
    std::vector<std::pair<std::int64_t, std::int64_t>> asked; // instant, sample heard from
    for (auto _ : state) {
        stream.startWorker();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        for (int n = 0; n < retunes(); ++n) {
            {
                const std::lock_guard lock(watch->mutex);
                watch->armed = true;
                watch->firstSound = -1;
            }
            const std::int64_t at = monotonicNs() + 2'500'000'000;
            if (path == Path::Buffer) {
                std::this_thread::sleep_until(
                    std::chrono::steady_clock::time_point(std::chrono::nanoseconds(at)));
                vfoA.frequencyWord = kHeard;
            } else {
                stream.queueVfoAMove(kHeard, at, path == Path::ContinuousMove);
            }
            std::this_thread::sleep_until(
                std::chrono::steady_clock::time_point(std::chrono::nanoseconds(at + 3'000'000'000)));
            {
                const std::lock_guard lock(watch->mutex);
                asked.emplace_back(at, watch->firstSound);
            }
            // Silence again before the next one, long enough to be written through the queue.
            vfoA.frequencyWord = 0;
            stream.dropVfoAMoves();
            std::this_thread::sleep_for(std::chrono::milliseconds(1000 + 4 * bytes / 4 * 1000 / 44100));
        }
        stream.stopAndWait();
        if (stream.workerFailed()) {
            state.SkipWithError(stream.failureReason().c_str());
            return;
        }
    }
    std::vector<double> lateMs;
    const std::lock_guard lock(watch->mutex);
    for (const auto& [at, sample] : asked) {
        const double heard = sample < 0 ? NAN : heardNs(*watch, sample);
        if (!std::isnan(heard))
            lateMs.push_back((heard - static_cast<double>(at)) / 1e6);
    }
    if (lateMs.empty()) {
        state.SkipWithError("no retune was heard");
        return;
    }
    double worst = 0;
    for (const double late : lateMs)
        worst = std::max(worst, std::fabs(late));
    state.counters["heard"] = static_cast<double>(lateMs.size());
    state.counters["mean_ms"] = std::accumulate(lateMs.begin(), lateMs.end(), 0.0) / lateMs.size();
    state.counters["worst_abs_ms"] = worst;
    state.counters["late_moves"] = static_cast<double>(stream.lateVfoAMoves());
}

void BM_RetuneHeard_BufferPath(benchmark::State& state) {
    retuneLateness(state, Path::Buffer);
}
void BM_RetuneHeard_Move(benchmark::State& state) {
    retuneLateness(state, Path::Move);
}
void BM_RetuneHeard_ContinuousMove(benchmark::State& state) {
    retuneLateness(state, Path::ContinuousMove);
}

BENCHMARK(BM_RetuneHeard_BufferPath)
    ->ArgName("KiB")
    ->Arg(16)
    ->Arg(64)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_RetuneHeard_Move)->ArgName("KiB")->Arg(16)->Arg(64)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_RetuneHeard_ContinuousMove)
    ->ArgName("KiB")
    ->Arg(16)
    ->Arg(64)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
