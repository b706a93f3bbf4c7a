#include "audio/AlsaMessages.h"
#include "audio/ClockCorrection.h"
#include "audio/ClockFit.h"
#include "audio/PcmName.h"
#include "audio/ToneOutput.h"
#include "beacon/BeaconProgram.h"
#include "beacon/Calibration.h"
#include "beacon/Options.h"
#include "beacon/Station.h"
#include "platform/ClockDiscipline.h"
#include "platform/MessageSink.h"
#include "platform/QtTimer.h"
#include "platform/TerminationSignals.h"
#include "settings/IniFile.h"
#include "settings/Keys.h"
#include "settings/SettingsPath.h"
#include "station/RealDevices.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <iostream>

namespace tarvel::beacon {
namespace {

constexpr int kExitFailure = 1;

void error(const std::string& text) {
    std::cerr << "tarvel calibrate: " << text << std::endl;
}

// A failure of the sound device: said once, and the run ends with status 1.
class CalibrationSink : public platform::MessageSink {
public:
    void show(const std::string& text) override {
        if (failed)
            return;
        failed = true;
        error(soundFailureMessage(text, soundDevice));
        QCoreApplication::exit(kExitFailure);
    }
    bool failed = false;
    std::string soundDevice;
};

std::string disciplineText(const platform::ClockDisciplineState& state) {
    if (!state.synchronised)
        return "the system clock is not synchronised to a time server: the card is measured against the "
               "computer's own crystal, which may be as far off";
    return "the system clock is synchronised (estimated error " + std::to_string(state.estimatedErrorUs) +
           " us)";
}

} // namespace

int runCalibrate(const std::vector<std::string>& arguments) {
    const CalibrateParse parse = parseCalibrateOptions(arguments);
    if (parse.action == CalibrateParse::Action::Error) {
        std::cerr << parse.output << std::endl;
        return parse.exitStatus;
    }
    if (parse.action != CalibrateParse::Action::Run) {
        std::cout << parse.output << std::flush;
        return parse.exitStatus;
    }
    const CalibrateOptions& options = parse.options;
    const std::string settingsPath =
        options.settingsFile ? *options.settingsFile : settings::settingsPathForExecutable();
    if (const std::string problem = settingsFileRefusal(settingsPath); !problem.empty()) {
        error(problem);
        return kExitUsage;
    }

    audio::keepAlsaMessages();
    bool stopped = false;
    platform::TerminationSignals::Actions actions;
    actions.terminate = [&](int) {
        stopped = true;
        QCoreApplication::exit(kExitOk);
    };
    platform::TerminationSignals termination(std::move(actions));

    // The station as the beacon loads it, settings only read; the serial port is never opened.
    CalibrationSink sink;
    station::RealDevices devices;
    platform::QtTimer toneWatchdog; // outlives the station, whose end stops it
    Station station(devices.forBeacon(sink, settingsPath));
    station.tone().watchStream(toneWatchdog, sink);
    double factor = 1.0;
    double cancelledPpm = 0.0;
    try {
        if (const SettingsProblem problem = restore(station); !problem.message.empty()) {
            error(problem.message);
            return kExitUsage;
        }
        sink.soundDevice = station.settings().read(settings::keys::audioDevice);
        if (std::string refusal = audio::pcmRefusal(sink.soundDevice, station.settings()); !refusal.empty()) {
            error(refusal);
            return kExitUsage;
        }
        factor = station.plan().factors().correction;
        if (!std::isfinite(factor) || factor <= 0) {
            error("the stored \"Correct Freq\" factor is no positive number: set it in the window first");
            return kExitUsage;
        }
        const audio::CancelledOffset& cancelled = station.stored().cancelledOffset;
        if (!cancelled.refusal.empty()) {
            error(cancelled.refusal);
            return kExitUsage;
        }
        cancelledPpm = cancelled.ppm;
    } catch (const std::exception& failure) {
        error(soundFailureMessage(failure.what(), sink.soundDevice));
        return kExitUsage;
    }
    if (stopped)
        return kExitOk;

    const platform::KernelClockDiscipline discipline;
    const platform::ClockDisciplineState before = discipline.state();
    std::cout << "measuring the sound device \"" << sink.soundDevice << "\", a "
              << audio::measuredDeviceKind(sink.soundDevice) << ", against the system clock for "
              << options.minutes << (options.minutes == 1 ? " minute" : " minutes") << "; nothing is keyed\n"
              << disciplineText(before) << std::endl;

    audio::ClockFit fit;
    if (!audio::isHardwarePcm(sink.soundDevice))
        fit.setSoundServer();
    const auto take = [&] {
        station.stream().takeClockPairs([&](const audio::ClockPair& pair) { fit.add(pair); });
    };
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(options.minutes);
    QTimer drain;
    QObject::connect(&drain, &QTimer::timeout, [&] {
        take();
        if (std::chrono::steady_clock::now() >= end)
            QCoreApplication::exit(kExitOk);
    });
    QTimer progress;
    QObject::connect(&progress, &QTimer::timeout, [&] {
        take();
        std::cout << calibrationProgress(fit.estimate()) << std::endl;
    });

    int status = kExitOk;
    try {
        station.tone().start();
        drain.start(200);
        progress.start(10'000);
        if (!stopped && !sink.failed)
            status = QCoreApplication::exec();
    } catch (const std::exception& failure) {
        error(soundFailureMessage(failure.what(), sink.soundDevice));
        status = kExitFailure;
    }
    drain.stop();
    progress.stop();
    take();
    station.shutDown();
    if (sink.failed)
        status = kExitFailure;
    if (status != kExitOk)
        return status;

    const audio::ClockEstimate estimate = fit.estimate();
    if (!estimate.valid) {
        std::cout << "clock offset: not measured (" << static_cast<long long>(estimate.seconds)
                  << " s of playing is too short for an estimate)" << std::endl;
        return kExitOk;
    }
    const bool synchronised = before.synchronised && discipline.state().synchronised;
    const double corrected = audio::correctedFactor(factor, cancelledPpm, estimate.offsetPpm);
    std::cout << calibrationSummary(estimate, synchronised, corrected) << std::endl;
    if (options.apply) {
        // The run's one write, through the settings file's own writer and number format: the factor and
        // the offset it now cancels, so that measuring again proposes the same factor.
        settings::IniFile file(settingsPath);
        try {
            file.write(settings::keys::correction, corrected);
        } catch (const std::exception& failure) {
            error(failure.what());
            return kExitFailure;
        }
        try {
            file.write(settings::keys::correctionCancelsPpm, estimate.offsetPpm);
        } catch (const std::exception& failure) {
            // A new factor without its offset would be corrected again at the next measurement.
            try {
                file.write(settings::keys::correction, factor);
            } catch (const std::exception&) {
            }
            error(failure.what());
            return kExitFailure;
        }
        std::cout << "the new \"Correct Freq\" is written to " << settingsPath << std::endl;
    }
    return kExitOk;
}

} // namespace tarvel::beacon
