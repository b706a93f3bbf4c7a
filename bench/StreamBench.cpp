// The sound stream's cost and its start, each beside a reference in the same run.
//
// Stream CPU: the process's CPU time per second of audio while the program's stream plays both tones,
// against aplay playing the same format through the same PCM with the same amount queued (two buffers),
// at 16 and 64 KiB buffers. The synthesizer's share is measured on its own and shown apart, so the
// stream's own overhead can be read off.
//
// Start TX -> PTT: from the click on a message's TX to the PTT line going on, through the window's wiring
// with recording control lines and the real ALSA device, with the tone already playing (the reference:
// nothing to open), with the tone off (the stream opens first), and with the tone off and the device
// opened ahead, as the window does for a sound server's device once its event loop runs and after each
// stop.
//
// The PCM is "default" unless TARVEL_BENCH_PCM names another (for example "null").
#include "audio/AlsaAudioDevice.h"
#include "audio/OutputStream.h"
#include "mock/FixedDeviceList.h"
#include "mock/RecordingControlLines.h"
#include "mock/RecordingMessageSink.h"
#include "mock/RecordingPriority.h"
#include "mock/VirtualTime.h"
#include "synth/ToneSynthesizer.h"
#include "ui/Wiring.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

using namespace tarvel;

namespace {

using Clock = std::chrono::steady_clock;

std::string pcm() {
    const char* name = std::getenv("TARVEL_BENCH_PCM");
    return name && *name ? name : "default";
}

// CPU time of every thread of a process, in nanoseconds as the scheduler counts it (the first field of
// each thread's schedstat), so a fraction of a percent over a few seconds is still resolved.
double processCpuSeconds(pid_t pid) {
    double total = 0;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream stat(task.path() / "schedstat");
        double ns = 0;
        if (stat >> ns)
            total += ns / 1e9;
    }
    return total;
}

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

constexpr int playSeconds = 8;

// Both channels on the tones the stream plays here: VFO A near 8.7 kHz, VFO B at 12 kHz, sine.
void tuneForBench(synth::ToneChannel& vfoA, synth::ToneChannel& vfoB) {
    vfoA.frequencyWord = 35651584 + 41;
    vfoA.waveform = static_cast<std::int32_t>(synth::WaveformKind::Sine);
    vfoA.level = 22000;
    vfoB.frequencyWord = 4096 * 12000;
    vfoB.waveform = static_cast<std::int32_t>(synth::WaveformKind::Sine);
    vfoB.level = 30000;
}

// CPU percent of the synthesizer alone for one buffer of both channels, as the worker fills it.
double synthPercent(int frames) {
    synth::ToneChannel vfoA, vfoB;
    tuneForBench(vfoA, vfoB);
    std::vector<std::int16_t> a(frames + 1), b(frames + 1), out(2 * frames);
    // Thread CPU time over eight seconds of audio, so other processes' load does not count.
    const int rounds = static_cast<int>(playSeconds * 44100 / frames) + 1;
    const double begin = threadCpuSeconds();
    for (int i = 0; i < rounds; ++i) {
        synth::FillChannel(a.data(), vfoA, frames);
        synth::FillChannel(b.data(), vfoB, frames);
        synth::InterleaveChannels(out.data(), a.data(), b.data(), frames);
        benchmark::DoNotOptimize(out.data());
    }
    const double spent = threadCpuSeconds() - begin;
    return 100.0 * spent / (rounds * frames / 44100.0);
}

void BM_StreamCpu_Program(benchmark::State& state) {
    const int bytes = static_cast<int>(state.range(0)) * 1024;
    synth::ToneChannel vfoA, vfoB;
    tuneForBench(vfoA, vfoB);
    double percent = 0;
    for (auto _ : state) {
        audio::OutputStream stream(vfoA, vfoB, audio::AlsaAudioDevice::factory(pcm()));
        stream.setBufferBytes(bytes);
        // Settle first: the open and the first fills are not the steady cost.
        stream.startWorker();
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        const double cpu0 = processCpuSeconds(getpid());
        const auto wall0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(playSeconds));
        const double cpu = processCpuSeconds(getpid()) - cpu0;
        const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
        stream.stopAndWait();
        if (stream.workerFailed()) {
            state.SkipWithError(stream.failureReason().c_str());
            return;
        }
        percent = 100.0 * cpu / wall;
    }
    const double synth = synthPercent(bytes / 4);
    state.counters["cpu_percent"] = percent;
    state.counters["synth_percent"] = synth;
    state.counters["without_synth_percent"] = percent - synth;
}

// aplay on the same PCM, format and queued amount (its own period choice), playing silence from
// /dev/zero, measured over the same steady stretch.
void BM_StreamCpu_Aplay(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0)) * 1024 / 4;
    double percent = 0;
    for (auto _ : state) {
        const std::string device = pcm();
        const std::string ring = "--buffer-size=" + std::to_string(2 * frames);
        const pid_t child = fork();
        if (child == 0) {
            execl("/usr/bin/aplay", "aplay", "-q", "-D", device.c_str(), "-t", "raw", "-f", "S16_LE", "-c",
                  "2", "-r", "44100", ring.c_str(), "/dev/zero", static_cast<char*>(nullptr));
            _exit(127);
        }
        if (child < 0) {
            state.SkipWithError("aplay did not start");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        const double cpu0 = processCpuSeconds(child);
        const auto wall0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(playSeconds));
        const double cpu = processCpuSeconds(child) - cpu0;
        const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
        int status = 0;
        const bool ran = waitpid(child, &status, WNOHANG) == 0;
        kill(child, SIGTERM);
        waitpid(child, &status, 0);
        if (!ran) {
            state.SkipWithError("aplay ended early");
            return;
        }
        percent = 100.0 * cpu / wall;
    }
    state.counters["cpu_percent"] = percent;
}

BENCHMARK(BM_StreamCpu_Program)->ArgName("KiB")->Arg(16)->Arg(64)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_StreamCpu_Aplay)->ArgName("KiB")->Arg(16)->Arg(64)->Iterations(1)->Unit(benchmark::kSecond);

std::int64_t nanosecondsNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Start TX on message 1 until PTT, many times; between rounds Stop TX, and with the tone off a pause for
// the stopped stream to let go of the device, as an operator's pause would.
void startTxToPtt(benchmark::State& state, bool tonePlaying, bool openedAhead = false) {
    const auto dir = std::filesystem::temp_directory_path() / "tarvel-stream-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::remove(dir / "bench.ini");
    mock::VirtualTime time;
    mock::RecordingMessageSink sink;
    mock::RecordingControlLines lines{nanosecondsNow};
    mock::RecordingPriority priority;
    const mock::FixedDeviceList noDevices;
    const std::string device = pcm();
    ui::Wiring form(
        ui::Devices{sink, time, [&] { return time.makeTimer(); },
                    [device](const std::string&) { return std::make_unique<audio::AlsaAudioDevice>(device); },
                    noDevices, lines, noDevices, priority, [](const std::string&) {},
                    (dir / "bench.ini").string(), (dir / "vfolog.txt").string()});
    form.startUp();
    form.mainWindow().QRSSDFCW2.click(); // opens the port
    form.mainWindow().EdTX1.setText("CQ TEST");
    if (tonePlaying)
        form.mainWindow().btnPlay.click();
    form.station().tone().keepDeviceOpenAhead(openedAhead);
    std::vector<double> delays;
    for (auto _ : state) {
        lines.operations.clear();
        const std::int64_t clicked = nanosecondsNow();
        form.mainWindow().PnTX1.click();
        if (lines.operations.empty() || !sink.messages.empty()) {
            state.SkipWithError(sink.messages.empty() ? "no PTT" : sink.messages.front().c_str());
            return;
        }
        delays.push_back(static_cast<double>(lines.operations.front().timeMs - clicked) / 1e6);
        state.PauseTiming();
        form.mainWindow().BtStopTX.click();
        if (!tonePlaying)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        state.ResumeTiming();
    }
    if (tonePlaying)
        form.mainWindow().btnPlay.click();
    if (delays.empty())
        return;
    const double first = delays.front();
    std::sort(delays.begin(), delays.end());
    state.counters["first_ms"] = first;
    state.counters["mean_ms"] = std::accumulate(delays.begin(), delays.end(), 0.0) / delays.size();
    state.counters["median_ms"] = delays[delays.size() / 2];
    state.counters["p99_ms"] = delays[(delays.size() * 99) / 100];
    state.counters["worst_ms"] = delays.back();
}

void BM_StartTxToPtt_TonePlaying(benchmark::State& state) {
    startTxToPtt(state, true);
}
void BM_StartTxToPtt_ToneOff(benchmark::State& state) {
    startTxToPtt(state, false);
}
void BM_StartTxToPtt_ToneOffOpenedAhead(benchmark::State& state) {
    startTxToPtt(state, false, true);
}

BENCHMARK(BM_StartTxToPtt_TonePlaying)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartTxToPtt_ToneOff)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartTxToPtt_ToneOffOpenedAhead)->Iterations(200)->Unit(benchmark::kMillisecond);

} // namespace
