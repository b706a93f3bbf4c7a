// What the keyer waits for in the activity log, with an empty log and with a 100 MB one: one record line
// written with logging on, Start TX's log work, and a whole Start TX and Stop TX of the program, all with
// the log window hidden as it usually is. The two sizes should cost the same.
#include "log/Logbook.h"
#include "mock/FixedDeviceList.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingControlLines.h"
#include "mock/RecordingMessageSink.h"
#include "mock/RecordingPriority.h"
#include "mock/VirtualTime.h"
#include "platform/SystemClock.h"
#include "ui/Wiring.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/LogPanel.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tarvel;

namespace {

// A folder holding a log of about the given size; removed when the benchmarks end.
class LogFolder {
public:
    explicit LogFolder(std::int64_t megabytes)
        : dir_(fs::temp_directory_path() /
               ("tarvel-log-bench-" + std::to_string(::getpid()) + "-" + std::to_string(megabytes))) {
        fs::create_directories(dir_);
        const std::string line = "Start : 12:00:00    CW   00:01:05   \"CQ TEST DE TARVEL\" 137500,25\r\n";
        std::string block;
        while (block.size() < (1 << 20))
            block += line;
        std::ofstream out(log(), std::ios::binary);
        for (std::int64_t i = 0; i < megabytes; ++i)
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    ~LogFolder() { fs::remove_all(dir_); }
    LogFolder(const LogFolder&) = delete;
    LogFolder& operator=(const LogFolder&) = delete;

    std::string log() const { return (dir_ / "vfolog.txt").string(); }
    std::string settings() const { return (dir_ / "tarvel.ini").string(); }

private:
    fs::path dir_;
};

// Each size is written once for all the runs of every benchmark.
const LogFolder& folder(std::int64_t megabytes) {
    static std::map<std::int64_t, std::unique_ptr<LogFolder>> folders;
    auto& folder = folders[megabytes];
    if (!folder)
        folder = std::make_unique<LogFolder>(megabytes);
    return *folder;
}

// The program's log switch and window over the log, logging on and the window hidden.
struct Rig {
    explicit Rig(const LogFolder& folder) : file(folder.log(), clock) {
        logWindow.window().hide();
        logbook.setOn(true);
    }
    platform::SystemClock clock;
    ui::forms::MainForm form;
    ui::forms::LogForm logWindow;
    log::ActivityLog file;
    log::Logbook logbook{file};
    ui::panels::LogPanel panel{form, logWindow, logbook};
};

void BM_LogLine(benchmark::State& state) {
    Rig rig(folder(state.range(0)));
    for (auto _ : state)
        rig.logbook.endRecord();
    state.counters["log_MB"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_LogLine)->ArgName("MB")->Arg(0)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_StartTxLogWork(benchmark::State& state) {
    Rig rig(folder(state.range(0)));
    for (auto _ : state)
        rig.logbook.refresh();
    state.counters["log_MB"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_StartTxLogWork)->ArgName("MB")->Arg(0)->Arg(100)->Unit(benchmark::kMicrosecond);

// The whole program on virtual time with recording devices, logging on, the port open and the tone
// playing: each round is the operator's "TX" on message 1 (its settings writes, compilation, estimate and
// start record) and "Stop TX" (its stop record).
void BM_StartTxAndStopTx(benchmark::State& state) {
    const LogFolder& logFolder = folder(state.range(0));
    mock::VirtualTime time;
    mock::RecordingMessageSink sink;
    mock::RecordingControlLines lines;
    mock::RecordingPriority priority;
    const mock::FixedDeviceList noDevices;
    auto audio = std::make_shared<mock::AudioRecord>(); // no auto-play: the worker waits, idle
    ui::Devices devices{
        sink,
        time,
        [&] { return time.makeTimer(); },
        [&](const std::string&) { return std::make_unique<mock::RecordingAudioDevice>(audio); },
        noDevices,
        lines,
        noDevices,
        priority,
        [](const std::string&) {},
        logFolder.settings(),
        logFolder.log(),
    };
    ui::Wiring form(devices);
    form.startUp();
    form.mainWindow().Log2.click();
    form.mainWindow().QRSSDFCW2.click();
    form.mainWindow().btnPlay.click();
    form.mainWindow().EdTX1.setText("CQ TEST");
    for (auto _ : state) {
        form.mainWindow().PnTX1.click();
        form.mainWindow().BtStopTX.click();
    }
    if (!sink.messages.empty())
        state.SkipWithError(sink.messages.front().c_str());
    state.counters["log_MB"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_StartTxAndStopTx)->ArgName("MB")->Arg(0)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace
