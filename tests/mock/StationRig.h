#pragma once
// A station on recording devices and virtual time, reading a settings file of the test's own, as the
// beacon opens it: read-only.
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingControlLines.h"
#include "mock/RecordingMessageSink.h"
#include "mock/VirtualTime.h"
#include "station/Station.h"

#include <memory>
#include <string>

namespace tarvel::mock {

struct StationRig {
    explicit StationRig(const std::string& path)
        : station({lines, *timer, *clockTimer, time, sink,
                   [this](const std::string&) { return RecordingAudioDevice::factory(record)(); }, noDevices,
                   path, settings::IniFile::Access::ReadOnly}) {}

    VirtualTime time;
    std::unique_ptr<VirtualTimer> timer = time.makeTimer(), clockTimer = time.makeTimer();
    RecordingMessageSink sink;
    RecordingControlLines lines;
    std::shared_ptr<AudioRecord> record = std::make_shared<AudioRecord>();
    const station::NoDeviceList noDevices;
    station::Station station;
};

} // namespace tarvel::mock
