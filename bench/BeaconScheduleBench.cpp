// How far the beacon's first key edge of each pass lies from its ideal UTC time: the beacon's own pieces
// on the system clock, passes in frames, side by side with a plain loop that sleeps until each ideal time.
// TARVEL_BENCH_PASSES and TARVEL_BENCH_EVERY_S shorten a run (10 passes of 10 s otherwise).
#include "audio/SilentAudioDevice.h"
#include "beacon/Beacon.h"
#include "beacon/Rehearsal.h"
#include "beacon/Schedule.h"
#include "beacon/Station.h"
#include "beacon/WallClockAlarm.h"
#include "keyer/ControlLines.h"
#include "platform/KernelTimer.h"
#include "platform/LinuxProcessPriority.h"
#include "platform/MessageSink.h"
#include "platform/QtTimer.h"
#include "platform/SystemClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <string>
#include <vector>

using namespace tarvel;
using Clock = std::chrono::system_clock;

namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "beacon-bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    return *app;
}

int environmentOr(const char* name, int fallback) {
    const char* value = std::getenv(name);
    const int parsed = value ? std::atoi(value) : 0;
    return parsed > 0 ? parsed : fallback;
}

std::int64_t nowUtcMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(Clock::now().time_since_epoch()).count();
}

Clock::time_point atUtcMs(std::int64_t utcMs) {
    return Clock::time_point(std::chrono::milliseconds(utcMs));
}

constexpr const char* kMessage = "E";

// The run's settings and activity log in a folder of their own: a CW beacon sending "E" on 136 kHz.
std::filesystem::path benchFolder() {
    const auto dir = std::filesystem::temp_directory_path() / "tarvel-beacon-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::ofstream(dir / "bench.ini", std::ios::binary | std::ios::trunc)
        << "[Param]\r\nfreq=136000\r\nTA=1\r\nTXT1=" << kMessage << "\r\nlog=0\r\n";
    return dir;
}

beacon::Options frameOptions() {
    beacon::Options options;
    options.everyMs = std::int64_t{environmentOr("TARVEL_BENCH_EVERY_S", 10)} * 1000;
    options.count = environmentOr("TARVEL_BENCH_PASSES", 10);
    options.presetRow = 0; // CW
    return options;
}

struct Ideal {
    std::int64_t keyOffsetMs = 0; // the first key-on edge after PTT on
    std::int64_t passLengthMs = 0;
    std::string error;
};

// One pass on virtual time, as the program works out its pass before keying anything.
Ideal rehearsedPass(const std::string& settingsPath, const beacon::Options& options,
                    const std::string& message) {
    beacon::Options onePass = options;
    onePass.everyMs = 0;
    onePass.count = 1;
    const beacon::Rehearsal pass = beacon::rehearse(settingsPath, onePass, message, nowUtcMs());
    Ideal ideal{0, pass.lengthMs, pass.error};
    const auto ptt =
        std::find_if(pass.edges.begin(), pass.edges.end(), [](auto& e) { return e.ptt && e.on; });
    const auto key = std::find_if(ptt, pass.edges.end(), [](auto& e) { return !e.ptt && e.on; });
    if (ideal.error.empty() && key == pass.edges.end())
        ideal.error = "the rehearsed pass keys nothing";
    else if (ideal.error.empty())
        ideal.keyOffsetMs = key->atUtcMs - ptt->atUtcMs;
    return ideal;
}

// Every change of either output, stamped on the system clock as it is made.
class StampingLines : public keyer::ControlLines {
public:
    struct Change {
        Clock::time_point at;
        bool rts = false;
        bool on = false;
    };
    std::vector<Change> changes;

    bool open(const std::string&) override { return true; }
    void setRts(bool on) override { set(rts_, true, on); }
    void setDtr(bool on) override { set(dtr_, false, on); }
    void close() override {
        setRts(false);
        setDtr(false);
    }

private:
    void set(bool& level, bool rts, bool on) {
        if (level != on)
            changes.push_back({Clock::now(), rts, on});
        level = on;
    }
    bool rts_ = false;
    bool dtr_ = false;
};

class RecordingSink : public platform::MessageSink {
public:
    void show(const std::string& text) override {
        failures.push_back(text);
        if (onFailure)
            onFailure();
    }
    std::vector<std::string> failures;
    std::function<void()> onFailure;
};

// |actual - ideal| of the PTT and first key edges of every pass, in µs.
struct Errors {
    std::vector<double> ptt;
    std::vector<double> key;

    void add(std::vector<double>& to, Clock::time_point actual, Clock::time_point ideal) {
        to.push_back(std::fabs(std::chrono::duration<double, std::micro>(actual - ideal).count()));
    }
    void report(benchmark::State& state) const {
        const auto mean = [](const std::vector<double>& v) {
            double sum = 0;
            for (double x : v)
                sum += x;
            return v.empty() ? 0.0 : sum / static_cast<double>(v.size());
        };
        const auto max = [](const std::vector<double>& v) {
            return v.empty() ? 0.0 : *std::ranges::max_element(v);
        };
        state.counters["passes"] = static_cast<double>(key.size());
        state.counters["ptt_mean_us"] = mean(ptt);
        state.counters["ptt_max_us"] = max(ptt);
        state.counters["key_mean_us"] = mean(key);
        state.counters["key_max_us"] = max(key);
    }
};

// As the program raises itself, with Real Time asked for; 0 when the system refused it.
double raisePriority() {
    platform::LinuxProcessPriority priority;
    priority.apply(platform::ProcessPriority::RealTime);
    return sched_getscheduler(0) == SCHED_FIFO ? 1.0 : 0.0;
}

void BM_BeaconFirstKeyEdge(benchmark::State& state) {
    application();
    const std::string settingsPath = (benchFolder() / "bench.ini").string();
    const beacon::Options options = frameOptions();
    Errors errors;
    std::vector<std::int64_t> frames;
    std::int64_t firstFrame = 0;
    std::int64_t keyOffsetMs = 0;
    std::vector<std::string> failures;
    double realTime = 0;
    for (auto _ : state) {
        RecordingSink sink;
        platform::SystemClock clock;
        StampingLines lines;
        platform::MonotonicTimer keyerTimer;
        platform::QtTimer clockTimer;
        const station::NoDeviceList noDevices;
        beacon::Station station(
            {lines, keyerTimer, clockTimer, clock, sink,
             [](const std::string&) { return std::make_unique<audio::SilentAudioDevice>(); }, noDevices,
             settingsPath, settings::IniFile::Access::ReadOnly});
        if (const std::string problem = beacon::prepareStation(station, options); !problem.empty()) {
            state.SkipWithError(problem.c_str());
            return;
        }
        const std::string message = beacon::chooseMessage(options, station.messages()).text;
        const Ideal ideal = rehearsedPass(settingsPath, options, message);
        if (!ideal.error.empty() || !beacon::passTooLong(ideal.passLengthMs, options.everyMs).empty()) {
            state.SkipWithError(ideal.error.empty() ? "the pass does not fit its frame"
                                                    : ideal.error.c_str());
            return;
        }
        keyOffsetMs = ideal.keyOffsetMs;
        realTime = raisePriority();
        beacon::openPort(station);

        beacon::WallClockAlarm alarm;
        beacon::Beacon beacon(station, alarm, &nowUtcMs, options, message, ideal.passLengthMs);
        QEventLoop loop;
        beacon.finished = [&loop](int) { loop.quit(); };
        sink.onFailure = [&beacon] { beacon.fail(); };
        beacon.passStarting = [&frames](std::int64_t startUtcMs) { frames.push_back(startUtcMs); };
        firstFrame = beacon::nextStart(nowUtcMs(), options.everyMs, options.offsetMs);
        beacon.begin();
        if (!beacon.done())
            loop.exec();
        station.shutDown();
        failures = sink.failures;

        // RTS keys and DTR holds the PTT: the settings keep the first line choice.
        std::size_t next = 0;
        for (const std::int64_t frame : frames) {
            const auto ptt = std::find_if(lines.changes.begin() + static_cast<std::ptrdiff_t>(next),
                                          lines.changes.end(), [](auto& c) { return !c.rts && c.on; });
            const auto key = std::find_if(ptt, lines.changes.end(), [](auto& c) { return c.rts && c.on; });
            if (key == lines.changes.end())
                break;
            errors.add(errors.ptt, ptt->at, atUtcMs(frame));
            errors.add(errors.key, key->at, atUtcMs(frame + ideal.keyOffsetMs));
            next = static_cast<std::size_t>(key - lines.changes.begin());
        }
    }
    if (!failures.empty()) {
        state.SkipWithError(failures.front().c_str());
        return;
    }
    errors.report(state);
    // Frames the passes should have taken, one after the other from the first one after begin().
    double offSchedule = 0;
    for (std::size_t k = 0; k < frames.size(); ++k)
        offSchedule += frames[k] != firstFrame + static_cast<std::int64_t>(k) * options.everyMs ? 1 : 0;
    state.counters["frames_off_schedule"] = offSchedule;
    state.counters["key_offset_ms"] = static_cast<double>(keyOffsetMs);
    state.counters["realtime"] = realTime;
}

// The same ideal times reached by sleeping on the system clock: what the machine can do at best.
void BM_PlainSleepUntil(benchmark::State& state) {
    application();
    const std::string settingsPath = (benchFolder() / "bench.ini").string();
    const beacon::Options options = frameOptions();
    Errors errors;
    double realTime = 0;
    for (auto _ : state) {
        const Ideal ideal = rehearsedPass(settingsPath, options, kMessage);
        if (!ideal.error.empty()) {
            state.SkipWithError(ideal.error.c_str());
            return;
        }
        realTime = raisePriority();
        const std::int64_t first = beacon::nextStart(nowUtcMs(), options.everyMs, options.offsetMs);
        const auto sleepUntil = [](Clock::time_point at) {
            const auto ns =
                std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
            const timespec deadline{static_cast<time_t>(ns / 1'000'000'000),
                                    static_cast<long>(ns % 1'000'000'000)};
            while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
            }
            return Clock::now();
        };
        for (int k = 0; k < options.count; ++k) {
            const auto frame = atUtcMs(first + k * options.everyMs);
            const auto keyAt = frame + std::chrono::milliseconds(ideal.keyOffsetMs);
            errors.add(errors.ptt, sleepUntil(frame), frame);
            errors.add(errors.key, sleepUntil(keyAt), keyAt);
        }
    }
    errors.report(state);
    state.counters["realtime"] = realTime;
}

} // namespace

BENCHMARK(BM_BeaconFirstKeyEdge)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_PlainSleepUntil)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
