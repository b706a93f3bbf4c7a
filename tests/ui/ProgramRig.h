#pragma once
// The whole program on virtual time with recording devices, in a fresh working directory of its own;
// optionally with its real windows for driving it through the widgets.
#include "mock/Files.h"
#include "mock/FixedDeviceList.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingControlLines.h"
#include "mock/RecordingMessageSink.h"
#include "mock/RecordingPriority.h"
#include "mock/VirtualTime.h"
#include "platform/ClockDiscipline.h"
#include "ui/MainWindow.h"
#include "ui/Wiring.h"

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace tarvel::test {

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "tarvel-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Each test runs in a directory named after it, emptied first.
class WorkingDirectory {
public:
    WorkingDirectory() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        home_ = std::filesystem::current_path();
        dir_ = home_ / (std::string(info->test_suite_name()) + "." + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    ~WorkingDirectory() { std::filesystem::current_path(home_); }
    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path home_, dir_;
};

// A system clock kept within 16 us by a time server.
struct SynchronisedClock : platform::ClockDiscipline {
    platform::ClockDisciplineState state() const override { return {true, 16}; }
};

struct ProgramRig {
    // settingsText: the settings file as it stands before the program starts (none when empty).
    explicit ProgramRig(const std::string& settingsText = {}, bool withWindows = false) {
        application();
        if (!settingsText.empty())
            std::ofstream(iniPath(), std::ios::binary) << settingsText;
        ui::Devices devices{
            sink,
            time,
            [this] { return time.makeTimer(); },
            [this](const std::string& pcm) {
                audioDevices.push_back(pcm);
                return std::make_unique<mock::RecordingAudioDevice>(audio);
            },
            pcms,
            lines,
            serialPorts,
            priority,
            [this](const std::string& text) { clipboard = text; },
            iniPath(),
        };
        devices.clockDiscipline = &clockDiscipline;
        devices.nowUtcMs = [this] { return utcAtStartMs + time.nowMs(); };
        devices.wsprDraw = [this] { return wsprDraw(); };
        form = std::make_unique<ui::Wiring>(std::move(devices));
        if (withWindows)
            windows = std::make_unique<ui::MainWindow>(*form, sink);
    }
    ~ProgramRig() {
        windows.reset();
        form.reset();
    }

    std::string iniPath() const { return (dir.path() / "tarvel.ini").string(); }
    std::string ini() const { return mock::readFile(iniPath()); }
    std::string log() const { return mock::readFile(dir.path() / "vfolog.txt"); }

    WorkingDirectory dir;
    mock::VirtualTime time;
    mock::RecordingMessageSink sink;
    mock::RecordingControlLines lines{[this] { return time.nowMs(); }};
    mock::RecordingPriority priority;
    SynchronisedClock clockDiscipline;
    mock::FixedDeviceList pcms, serialPorts;
    std::shared_ptr<mock::AudioRecord> audio = [] {
        auto record = std::make_shared<mock::AudioRecord>();
        record->autoPlay = true;
        return record;
    }();
    std::vector<std::string> audioDevices;
    // UTC at virtual time 0: a minute before an even-minute frame. Every WSPR frame is drawn unless changed.
    std::int64_t utcAtStartMs = 1'700'000'040'000 - 60'000;
    std::function<std::uint64_t()> wsprDraw = [] { return std::uint64_t{0}; };
    std::string clipboard;
    std::unique_ptr<ui::Wiring> form;
    std::unique_ptr<ui::MainWindow> windows;
};

} // namespace tarvel::test
