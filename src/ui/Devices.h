#pragma once
// Everything the main window reaches outside the process: real devices in the program, recording
// doubles and virtual time in tests.
#include "audio/AudioDevice.h"
#include "keyer/ControlLines.h"
#include "platform/Clock.h"
#include "platform/ClockDiscipline.h"
#include "platform/DeviceList.h"
#include "platform/MessageSink.h"
#include "platform/ProcessPriority.h"
#include "platform/Timer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarvel::station {
class RealDevices;
}

namespace tarvel::ui {

struct Devices {
    platform::MessageSink& sink;
    platform::Clock& clock;
    std::function<std::unique_ptr<platform::Timer>()> makeTimer;
    // A fresh audio device on the named PCM (the "AudioDevice" setting, "default" when absent).
    std::function<std::unique_ptr<audio::AudioDevice>(const std::string& pcm)> makeAudioDevice;
    // The PCMs that can play, offered in the audio-device panel.
    const platform::DeviceList& outputPcms;
    keyer::ControlLines& lines;
    // The serial ports present, offered in the port panel.
    const platform::DeviceList& serialPorts;
    platform::ProcessPriority& priority;
    std::function<void(const std::string&)> cutToClipboard;
    std::string settingsPath;
    std::string logPath = "vfolog.txt";
    std::string helpPath = "readme.txt";
    // The keyer's timer, which times the key edges; makeTimer's kind when not given.
    std::function<std::unique_ptr<platform::Timer>()> makeKeyerTimer = {};
    // Whether the system clock is synchronised, shown in the calibration window; the kernel's when not
    // given.
    const platform::ClockDiscipline* clockDiscipline = nullptr;
    // UTC now in ms, for the WSPR frames; the system clock when not given.
    std::function<std::int64_t()> nowUtcMs = {};
    // The WSPR schedule's draw of each frame; random when not given.
    std::function<std::uint64_t()> wsprDraw = {};
};

// The window's devices on the real hardware, as the program and the end-to-end tests that run it in-process
// assemble them.
Devices realDevices(station::RealDevices& real, platform::MessageSink& sink,
                    platform::ProcessPriority& priority,
                    std::function<void(const std::string&)> cutToClipboard, std::string settingsPath);

} // namespace tarvel::ui
