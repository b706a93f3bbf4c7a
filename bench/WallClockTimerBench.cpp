// How late the wall-clock timer's timeouts come against their ideal times on the system clock: a chain
// started at an absolute time and left repeating every 20 ms, as the beacon keys a message.
#include "platform/KernelTimer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace tarvel;
using namespace std::chrono_literals;

namespace {

void BM_WallClockTimerLateness(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "clock-bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    constexpr int firings = 100;
    constexpr auto interval = 20ms;
    double sum = 0, worst = 0, over2ms = 0;
    for (auto _ : state) {
        platform::WallClockTimer timer;
        QEventLoop loop;
        const auto first = platform::WallClockTimer::Clock::now() + 50ms;
        int fired = 0;
        timer.onTimeout = [&] {
            const double late = (platform::WallClockTimer::Clock::now() - (first + fired * interval)) / 1.0ms;
            sum += late;
            worst = std::max(worst, late);
            over2ms += late > 2.0 ? 1 : 0;
            if (++fired == firings) {
                timer.setEnabled(false);
                loop.quit();
            }
        };
        timer.setInterval(static_cast<int>(interval.count()));
        timer.startAt(first);
        loop.exec();
    }
    state.counters["mean_late_ms"] = sum / (firings * static_cast<double>(state.iterations()));
    state.counters["max_late_ms"] = worst;
    state.counters["over_2ms"] = over2ms;
}

} // namespace

BENCHMARK(BM_WallClockTimerLateness)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
