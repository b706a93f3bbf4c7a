#include "station/Station.h"

#include "settings/Keys.h"

#include <QCoreApplication>

namespace tarvel::station {

Station::Station(Devices devices)
    : devices_(std::move(devices)), ini_(devices_.settingsPath, devices_.access),
      stream_(
          vfoA_, vfoB_, [this] { return devices_.makeAudioDevice(ini_.read(settings::keys::audioDevice)); },
          [this](std::uint64_t worker) { postWorkerFailure(worker); }),
      plan_(vfoA_, vfoB_), tone_(stream_, vfoA_, vfoB_, ini_, plan_), memories_(plan_, ini_),
      activityLog_(devices_.logPath, devices_.clock), logbook_(activityLog_), port_(devices_.lines),
      transmission_(devices_.keyerTimer, port_.transmitter(), plan_, tone_, logbook_, messages_,
                    devices_.clock, devices_.sink),
      beaconClock_(logbook_, devices_.clock, devices_.clockTimer, devices_.sink), presets_(transmission_),
      audioDevice_(devices_.outputPcms, ini_), clockMeasurement_(stream_, audioDevice_) {
    // A transmission without its reference tone must not go on keying the transmitter.
    tone_.onToneLost.connect([this] {
        if (transmission_.onAir())
            transmission_.stopTransmission();
    });
    // The settings writer keeps the new name after this listener: the device is opened anew once it has.
    audioDevice_.chosen.connect([this](const std::string&) {
        if (QCoreApplication* loop = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                loop,
                [this, alive = std::weak_ptr<bool>(alive_)] {
                    if (alive.lock())
                        tone_.deviceChanged();
                },
                Qt::QueuedConnection);
    });
}

Station::~Station() {
    shutDown();
}

void Station::postWorkerFailure(std::uint64_t worker) {
    // Queued on the event loop, which runs on the user-interface thread whichever thread posts.
    if (QCoreApplication* loop = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            loop,
            [this, worker, alive = std::weak_ptr<bool>(alive_)] {
                if (alive.lock())
                    platform::runGuarded(devices_.sink, [&] { tone_.workerFailed(worker); });
            },
            Qt::QueuedConnection);
}

const StoredSettings& Station::load() {
    // One read of the file for every key: a value the window writes meanwhile cannot mix two versions.
    stored_ = readStoredSettings(ini_.snapshot());
    const StoredSettings& s = stored_;
    plan_.setDfcwShift(0);
    transmission_.setKeying({});
    transmission_.rewind();
    // Held at once without writing them back.
    plan_.restoreFactors(s.factors);
    clockMeasurement_.restoreCancelled(s.cancelledOffset);
    for (int k = 1; k <= freqplan::Memories::kCount; ++k)
        memories_.loadCoarse(k, s.memoryCoarseHz[static_cast<std::size_t>(k - 1)]);
    options_.restoreTuningRange(s.rangeMinHz, s.rangeMaxHz);
    port_.portChoice = keyer::ComPort{s.portChoice};
    port_.keyLineChoice = keyer::KeyLine{s.keyLineChoice};
    port_.setNames(s.port1, s.port2);
    for (int k = 1; k <= keyer::BeaconMessages::kCount; ++k)
        messages_.setText(k, s.messages[static_cast<std::size_t>(k - 1)]);
    tone_.setBufferSetting(s.bufferKiB);
    presets_.setCustomMode(s.customMode);
    logbook_.setOn(s.logging);
    keyer::Identification& id = transmission_.identification();
    id.endSpeedSetting = s.endIdSpeed;
    id.startSpeedSetting = s.startIdSpeed;
    id.startText = s.startIdText;
    id.endText = s.endIdText;
    // The speed buttons start on CW; a stored choice of QRSS3 checks the other one.
    id.speeds = {s.endIdSpeed != 2, s.endIdSpeed == 2, s.startIdSpeed != 2, s.startIdSpeed == 2};
    return stored_;
}

void Station::stopTransmission() {
    if (transmission_.onAir())
        platform::runGuarded(devices_.sink, [this] { transmission_.stopTransmission(); });
}

void Station::shutDown() {
    // Each step is tried whatever the one before did: the port must be let go with both lines low. No
    // device is opened ahead from here on, and the one held is let go.
    tone_.keepDeviceOpenAhead(false);
    try {
        stopTransmission();
    } catch (...) {
    }
    tone_.stop();
    const bool stopped = stream_.stopAndWait();
    port_.transmitter().releasePort();
    // Said once the lines are low: the message may wait for the operator.
    if (!stopped)
        devices_.sink.show(stream_.leftBehindNotice());
}

} // namespace tarvel::station
