#include "beacon/BeaconProgram.h"

#include "audio/AlsaAudioDevice.h"
#include "beacon/Beacon.h"
#include "beacon/Rehearsal.h"
#include "beacon/Schedule.h"
#include "beacon/WallClockAlarm.h"
#include "keyer/BeaconMessages.h"
#include "keyer/SerialControlLines.h"
#include "platform/Cp1251.h"
#include "platform/CrashHook.h"
#include "platform/Failure.h"
#include "platform/LinuxProcessPriority.h"
#include "platform/QtTimer.h"
#include "platform/SystemClock.h"
#include "platform/TerminationSignals.h"
#include "platform/WallClockTimer.h"
#include "settings/SettingsPath.h"

#include <QCoreApplication>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

namespace tarvel::beacon {
namespace {

constexpr int kExitFailure = 1;

void error(const std::string& text) {
    std::cerr << "tarvel beacon: " << text << std::endl;
}

int usageError(const std::string& text) {
    error(text);
    return kExitUsage;
}

std::int64_t nowUtcMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The beacon panel's element marks, as words for a log that outlives the run.
std::string elementName(const std::string& shown) {
    if (shown == "//")
        return "pause";
    if (shown == "*")
        return "dot";
    if (shown == "==")
        return "dash";
    if (shown == "/")
        return "gap";
    if (shown == "-----")
        return "letter gap";
    if (shown == "END")
        return "end";
    return shown;
}

// A failure on a device or in a step: said on standard error, and the run ends with status 1.
class FailureSink : public platform::MessageSink {
public:
    void show(const std::string& text) override {
        error(text);
        if (onFailure)
            onFailure();
    }
    std::function<void()> onFailure;
};

std::string settingsFileProblem(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "cannot read the settings file " + path + " (" + std::strerror(errno) +
               "): set the station up in the window first, or name a file with --settings";
    return {};
}

void printDryRun(const Options& options, const Rehearsal& plan, const std::string& message,
                 std::int64_t passLengthMs) {
    std::cout << "dry run: nothing is keyed and nothing is played\n"
              << "message \"" << platform::cp1251ToUtf8(message) << "\", mode " << trimmed(plan.modeLabel)
              << ", one pass " << passLengthMs << " ms from PTT on to PTT off\n";
    std::size_t pass = 0;
    for (const PassEdge& edge : plan.edges) {
        for (; pass < plan.passStarts.size() && plan.passStarts[pass] <= edge.atUtcMs; ++pass)
            std::cout << "pass " << pass + 1 << " at " << formatUtc(plan.passStarts[pass]) << "\n";
        std::cout << "  " << formatUtc(edge.atUtcMs) << "  " << (edge.ptt ? "PTT" : "key") << ' '
                  << (edge.on ? "on" : "off") << "\n";
    }
    if (options.loop)
        std::cout << "then the same again " << (options.everyMs > 0 ? "in every frame" : "at once")
                  << ", until stopped\n";
    std::cout.flush();
}

} // namespace

int runBeacon(const std::vector<std::string>& arguments) {
    const OptionsParse parse = parseOptions(arguments);
    if (parse.action == OptionsParse::Action::Error) {
        std::cerr << parse.output << (parse.output.ends_with('\n') ? "" : "\n") << std::flush;
        return parse.exitStatus;
    }
    if (parse.action != OptionsParse::Action::Run) {
        std::cout << parse.output << std::flush;
        return parse.exitStatus;
    }
    const Options& options = parse.options;
    const std::string settingsPath =
        options.settingsFile ? *options.settingsFile : settings::settingsPathForExecutable();
    if (const std::string problem = settingsFileProblem(settingsPath); !problem.empty())
        return usageError(problem);

    // Nothing may leave the transmitter keyed: a crash drops both lines, a signal ends the pass in order,
    // and a reader that went away costs the progress lines, not the run.
    platform::installCrashHook(&keyer::SerialControlLines::clearOpenPortLines);
    std::signal(SIGPIPE, SIG_IGN);
    Beacon* running = nullptr;
    bool terminated = false;
    platform::TerminationSignals termination([&](int) {
        terminated = true;
        if (running)
            running->stop();
        else
            QCoreApplication::exit(0);
    });

    FailureSink sink;
    platform::SystemClock clock;
    keyer::SerialControlLines lines;
    platform::WallClockTimer keyerTimer;
    platform::QtTimer toneWatchdog; // outlives the station, whose end stops it
    Station station({lines, keyerTimer, clock, sink,
                     [](const std::string& pcm) { return std::make_unique<audio::AlsaAudioDevice>(pcm); },
                     [&station](std::uint64_t worker) {
                         // From the audio worker's thread: the news goes to the event loop's.
                         QMetaObject::invokeMethod(
                             QCoreApplication::instance(),
                             [&station, worker] {
                                 platform::runGuarded(station.sink(),
                                                      [&] { station.tone().workerFailed(worker); });
                             },
                             Qt::QueuedConnection);
                     },
                     settingsPath});
    station.tone().watchStream(toneWatchdog, sink);

    std::string message;
    std::int64_t passLengthMs = 0;
    try {
        if (const std::string problem = prepareStation(station, options); !problem.empty())
            return usageError(problem);
        const MessageChoice choice = chooseMessage(options, station.messages());
        if (!choice.error.empty())
            return usageError(choice.error);
        message = choice.text;
        Options onePass = options;
        onePass.everyMs = 0;
        onePass.count = 1;
        onePass.loop = false;
        const Rehearsal pass = rehearse(settingsPath, onePass, message, nowUtcMs());
        if (!pass.error.empty())
            return usageError(pass.error);
        passLengthMs = pass.lengthMs;
        if (options.everyMs > 0)
            if (const std::string refusal = passTooLong(passLengthMs, options.everyMs); !refusal.empty())
                return usageError(refusal);
        if (options.dryRun) {
            Options shown = options;
            if (shown.loop) {
                shown.loop = false;
                shown.count = 1;
            }
            const Rehearsal plan = rehearse(settingsPath, shown, message, nowUtcMs());
            if (!plan.error.empty())
                return usageError(plan.error);
            printDryRun(options, plan, message, passLengthMs);
            return kExitOk;
        }
    } catch (const std::exception& failure) {
        return usageError(failure.what());
    }
    if (terminated)
        return kExitOk;

    platform::LinuxProcessPriority priority;
    priority.apply(station.priorityChoice());
    WallClockAlarm alarm;
    Beacon beacon(station, alarm, &nowUtcMs, options, message, passLengthMs);
    int status = kExitOk;
    beacon.finished = [&status](int result) {
        status = result;
        QCoreApplication::exit(result);
    };
    sink.onFailure = [&beacon] { beacon.fail(); };
    // A pass started from the alarm times its steps from the frame's ideal start, not from the wake-up.
    beacon.passStarting = [&keyerTimer](std::int64_t startUtcMs) {
        keyerTimer.countNextFrom(
            platform::WallClockTimer::Clock::time_point(std::chrono::milliseconds(startUtcMs)));
    };
    if (!options.quiet) {
        beacon.passScheduled = [](std::int64_t startUtcMs) {
            std::cout << formatUtc(nowUtcMs()) << "  next pass at " << formatUtc(startUtcMs) << std::endl;
        };
        beacon.elementShown = [&station](const ElementShown& shown) {
            std::cout << formatUtc(shown.atUtcMs) << "  " << trimmed(station.transmission().mode().label)
                      << "  " << elementName(shown.element) << "  \""
                      << platform::cp1251ToUtf8(station.transmission().sentText()) << "\"  ends "
                      << formatUtc(shown.passEndUtcMs) << std::endl;
        };
    }

    // The window's day-change line at midnight, when logging is on.
    platform::QtTimer clockTicks;
    keyer::BeaconClock beaconClock(station.logbook(), clock, clockTicks, sink);
    clockTicks.setInterval(keyer::BeaconClock::kClockIntervalMs);
    clockTicks.setEnabled(true);
    // An adapter unplugged between passes is found before the next pass would key into nothing.
    // Only a port that reported its lines once can be missed: some never tell.
    bool portTells = false;
    QTimer portCheck;
    QObject::connect(&portCheck, &QTimer::timeout, [&] {
        if (portTells && !lines.readBack())
            sink.show("the serial port " + station.port().transmitter().portName(station.port().portChoice) +
                      " is gone (unplugged?)");
    });
    portCheck.start(1000);

    running = &beacon;
    try {
        station.startLog();
        station.openPort();
        portTells = lines.readBack().has_value();
        beacon.begin();
    } catch (const std::exception& failure) {
        error(failure.what());
        status = kExitFailure;
    }
    if (status == kExitOk && !beacon.done())
        QCoreApplication::exec();
    running = nullptr;
    portCheck.stop();
    station.shutDown();
    return status;
}

} // namespace tarvel::beacon
