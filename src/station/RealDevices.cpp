#include "station/RealDevices.h"

#include "audio/AlsaAudioDevice.h"
#include "platform/KernelTimer.h"

namespace tarvel::station {

RealDevices::RealDevices() = default;

std::unique_ptr<audio::AudioDevice> RealDevices::makeAudioDevice(const std::string& pcm) {
    return std::make_unique<audio::AlsaAudioDevice>(pcm);
}

std::unique_ptr<platform::Timer> RealDevices::makeTimer() {
    return std::make_unique<platform::QtTimer>();
}

std::unique_ptr<platform::Timer> RealDevices::makeKeyerTimer() {
    return std::make_unique<platform::QtTimer>();
}

Devices RealDevices::forBeacon(platform::MessageSink& sink, std::string settingsPath) {
    if (!keyerTimer_)
        keyerTimer_ = std::make_unique<platform::MonotonicTimer>();
    return {lines,
            *keyerTimer_,
            clockTimer,
            clock,
            sink,
            &makeAudioDevice,
            outputPcms,
            std::move(settingsPath),
            settings::IniFile::Access::ReadOnly};
}

} // namespace tarvel::station
