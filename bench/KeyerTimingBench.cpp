// How closely the key line follows the ideal element schedule, every edge timed from the PTT going on at
// Start TX, when the window's keyer runs on its own timer, side by side with a plainly re-armed precise Qt
// timer. Runs as the invoking user: no privilege is asked for.
#include "mock/FixedDeviceList.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingControlLines.h"
#include "mock/RecordingMessageSink.h"
#include "platform/LinuxProcessPriority.h"
#include "platform/QtTimer.h"
#include "platform/SystemClock.h"
#include "station/RealDevices.h"
#include "ui/Wiring.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <vector>

using namespace tarvel;

namespace {

// A precise timer re-armed from now at every step: what the drift-free chain improves on.
class PlainTimer : public platform::Timer {
public:
    PlainTimer() {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (enabled_)
                timer_.start(std::max(interval_, 1));
            if (onTimeout)
                onTimeout();
        });
    }
    void setInterval(int ms) override {
        interval_ = ms;
        if (enabled_)
            timer_.start(std::max(interval_, 1));
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        enabled_ = on;
        if (on)
            timer_.start(std::max(interval_, 1));
        else
            timer_.stop();
    }
    bool enabled() const override { return enabled_; }
    // Not asked by the keyer's timing measured here: read from now.
    std::int64_t stepInstantNs() const override { return now(); }
    std::int64_t pendingDeadlineNs() const override {
        return now() + std::int64_t{timer_.remainingTime()} * 1'000'000;
    }

private:
    static std::int64_t now() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    QTimer timer_;
    int interval_ = 1000;
    bool enabled_ = false;
};

QApplication& application() {
    static int argc = 1;
    static char name[] = "keyer-bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

std::int64_t microsecondsNow() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Key-line edges of the ideal schedule, in µs from the start of the transmission.
std::vector<std::int64_t> idealKeyEdges(const std::string& sequence, const keyer::KeyingValues& k) {
    std::vector<std::int64_t> edges;
    std::int64_t t = 0;
    bool on = false;
    for (char c : sequence) {
        std::int64_t ms = 1;
        bool next = on;
        switch (c) {
        case '<':
            ms = 1000, next = false;
            break;
        case '*':
            ms = k.dotMs, next = true;
            break;
        case '-':
            ms = std::int64_t{k.dotMs} * k.dashFactor, next = true;
            break;
        case ',':
            ms = keyer::ElementGapMilliseconds(k.dotMs, k.gapDivisor), next = false;
            break;
        case '=':
            ms = std::int64_t{k.dotMs} * k.letterGapFactor, next = false;
            break;
        default:
            break;
        }
        if (next != on)
            edges.push_back(t * 1000);
        on = next;
        t += ms;
    }
    return edges;
}

enum class KeyerTimer { Window, PlainRearm };

void sendAndMeasure(benchmark::State& state, KeyerTimer kind, bool qrss1, const char* message) {
    application();
    const auto dir = std::filesystem::temp_directory_path() / "tarvel-keyer-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::filesystem::remove("vfolog.txt");
    mock::RecordingMessageSink sink;
    platform::SystemClock clock;
    mock::RecordingControlLines lines{microsecondsNow};
    const mock::FixedDeviceList noDevices;
    // As at program start: the user-interface thread is raised as far as the user may.
    platform::LinuxProcessPriority priority;
    auto audio = std::make_shared<mock::AudioRecord>();
    audio->autoPlay = false; // the worker waits quietly instead of filling buffers flat out

    std::vector<double> deviations; // ms, of every key edge in every iteration
    double startDelay = 0;
    for (auto _ : state) {
        ui::Devices devices{
            sink,
            clock,
            &station::RealDevices::makeTimer,
            [audio](const std::string&) { return std::make_unique<mock::RecordingAudioDevice>(audio); },
            noDevices,
            lines,
            noDevices,
            priority,
            [](const std::string&) {},
            (dir / "bench.ini").string()};
        if (kind == KeyerTimer::Window)
            devices.makeKeyerTimer = &station::RealDevices::makeKeyerTimer;
        else
            devices.makeKeyerTimer = [] { return std::make_unique<PlainTimer>(); };
        ui::Wiring form(std::move(devices));
        form.startUp();
        form.mainWindow().QRSSDFCW2.click(); // opens the port
        form.mainWindow().Btqrss120.click();
        (qrss1 ? form.mainWindow().BtQRSS1 : form.mainWindow().Button5).click();
        form.mainWindow().EdTX1.setText(message);
        lines.operations.clear();
        form.mainWindow().PnTX1.click();
        if (lines.operations.empty()) {
            state.SkipWithError("the port did not open");
            return;
        }
        const std::int64_t ptt = lines.operations.front().timeMs; // the PTT goes on at Start TX
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!form.transmission().messageRunning())
                loop.quit();
        });
        poll.start(50);
        loop.exec();

        std::vector<std::int64_t> actual;
        for (const auto& op : lines.edges())
            if (op.line == mock::RecordingControlLines::Line::Rts)
                actual.push_back(op.timeMs - ptt);
        const auto ideal = idealKeyEdges(form.transmission().sequence(), form.transmission().keying());
        const std::size_t count = std::min(actual.size(), ideal.size());
        if (count == 0 || actual.size() != ideal.size()) {
            state.SkipWithError("the key line did not make the edges of the message");
            return;
        }
        startDelay = static_cast<double>(actual[0] - ideal[0]) / 1000.0;
        for (std::size_t i = 0; i < count; ++i)
            deviations.push_back(std::fabs(static_cast<double>(actual[i] - ideal[i])) / 1000.0);
    }
    if (deviations.empty())
        return;
    double sum = 0;
    for (double d : deviations)
        sum += d;
    std::sort(deviations.begin(), deviations.end());
    const auto p99 = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(deviations.size()))) - 1;
    state.counters["edges"] = static_cast<double>(deviations.size());
    state.counters["first_edge_ms"] = startDelay;
    state.counters["mean_ms"] = sum / static_cast<double>(deviations.size());
    state.counters["p99_ms"] = deviations[std::min(p99, deviations.size() - 1)];
    state.counters["worst_ms"] = deviations.back();
}

// 100 elements in CW, 50 in QRSS1 (one minute).
void BM_KeyerCw_Window(benchmark::State& s) {
    sendAndMeasure(s, KeyerTimer::Window, false, "5555555555");
}
void BM_KeyerCw_PlainRearm(benchmark::State& s) {
    sendAndMeasure(s, KeyerTimer::PlainRearm, false, "5555555555");
}
void BM_KeyerQrss1_Window(benchmark::State& s) {
    sendAndMeasure(s, KeyerTimer::Window, true, "55555");
}
void BM_KeyerQrss1_PlainRearm(benchmark::State& s) {
    sendAndMeasure(s, KeyerTimer::PlainRearm, true, "55555");
}

} // namespace

BENCHMARK(BM_KeyerCw_Window)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KeyerCw_PlainRearm)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KeyerQrss1_Window)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KeyerQrss1_PlainRearm)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
