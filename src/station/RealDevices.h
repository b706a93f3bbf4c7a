#pragma once
// The real devices, as the program and the end-to-end tests that run it in-process assemble them: the
// system clock, the serial port's lines, the ALSA PCMs and the timers.
#include "audio/AlsaPcmList.h"
#include "keyer/SerialControlLines.h"
#include "keyer/SerialPortList.h"
#include "platform/QtTimer.h"
#include "platform/SystemClock.h"
#include "station/Station.h"

#include <memory>
#include <string>
#include <thread>

namespace tarvel::station {

class RealDevices {
public:
    // When the sound configuration is read ahead, on a thread of its own: at once (the beacon), or when
    // asked (the window, once it shows, so that the thread does not compete with building it).
    enum class SoundConfiguration { ReadAtOnce, ReadWhenAsked };
    explicit RealDevices(SoundConfiguration when = SoundConfiguration::ReadAtOnce);

    // Reads the sound configuration ahead, unless it is already being read.
    void readSoundConfigurationAhead();

    // A fresh ALSA device on the named PCM.
    static std::unique_ptr<audio::AudioDevice> makeAudioDevice(const std::string& pcm);
    // A timer on the Qt event loop, drift-free.
    static std::unique_ptr<platform::Timer> makeTimer();
    // The window's keyer timer: absolute deadlines on the monotonic clock, the key edges made by its own
    // thread at them; says on the standard error, once a run, when it cannot have real-time scheduling.
    static std::unique_ptr<platform::Timer> makeKeyerTimer();

    // The station's devices for the unattended beacon: element lengths on the monotonic clock, so that a
    // step of the system clock never stretches or cuts one; the settings file only read.
    Devices forBeacon(platform::MessageSink& sink, std::string settingsPath);

    platform::SystemClock clock;
    keyer::SerialControlLines lines;
    const audio::AlsaPcmList outputPcms;
    const keyer::SerialPortList serialPorts;
    // The beacon's clock tick, for its day-change line; the beacon enables it.
    platform::QtTimer clockTimer;

private:
    std::unique_ptr<platform::Timer> keyerTimer_;
    // The sound configuration, read while the rest starts up.
    std::jthread soundConfiguration_;
};

} // namespace tarvel::station
