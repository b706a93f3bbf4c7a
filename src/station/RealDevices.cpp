#include "station/RealDevices.h"

#include "audio/AlsaAudioDevice.h"
#include "platform/KernelTimer.h"
#include "platform/PreciseEdgeTimer.h"

#include <iostream>
#include <mutex>

namespace tarvel::station {

RealDevices::RealDevices(SoundConfiguration when) {
    if (when == SoundConfiguration::ReadAtOnce)
        readSoundConfigurationAhead();
}

void RealDevices::readSoundConfigurationAhead() {
    if (!soundConfiguration_.joinable())
        soundConfiguration_ = audio::AlsaAudioDevice::readConfigurationAhead();
}

std::unique_ptr<audio::AudioDevice> RealDevices::makeAudioDevice(const std::string& pcm) {
    return std::make_unique<audio::AlsaAudioDevice>(pcm);
}

std::unique_ptr<platform::Timer> RealDevices::makeTimer() {
    return std::make_unique<platform::QtTimer>();
}

std::unique_ptr<platform::Timer> RealDevices::makeKeyerTimer() {
    // One quiet line, once a run: the operator may not be able to change it, and the keyer works without.
    return std::make_unique<platform::PreciseEdgeTimer>([](const std::string& text) {
        static std::once_flag said;
        std::call_once(said, [&] { std::cerr << "tarvel: " << text << std::endl; });
    });
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
