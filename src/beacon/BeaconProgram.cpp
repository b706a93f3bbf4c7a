#include "beacon/BeaconProgram.h"

#include "audio/AlsaMessages.h"
#include "audio/ToneOutput.h"
#include "beacon/Beacon.h"
#include "beacon/Calibration.h"
#include "beacon/ClockTracking.h"
#include "beacon/Rehearsal.h"
#include "beacon/Render.h"
#include "beacon/Schedule.h"
#include "beacon/WallClockAlarm.h"
#include "keyer/BeaconMessages.h"
#include "keyer/PortOpenFailure.h"
#include "keyer/SerialControlLines.h"
#include "platform/ClockDiscipline.h"
#include "platform/Cp1251.h"
#include "platform/CrashHook.h"
#include "platform/Failure.h"
#include "platform/LinuxProcessPriority.h"
#include "platform/QtTimer.h"
#include "platform/SafeFile.h"
#include "platform/TerminationSignals.h"
#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "settings/Keys.h"
#include "settings/SettingsPath.h"
#include "station/RealDevices.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <thread>
#include <unistd.h>

namespace tarvel::beacon {
namespace {

constexpr int kExitFailure = 1;

// A dry run lists this many passes at most and counts the rest: a count of a billion must not take minutes
// and gigabytes to show.
constexpr int kDryRunPasses = 1000;
// A render holds at most this many passes, like the dry run.
constexpr int kRenderPasses = 1000;

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

// The elements as words for a log that outlives the run.
const char* elementName(keyer::Element element) {
    switch (element) {
    case keyer::Element::OpeningPause:
        return "pause";
    case keyer::Element::Dot:
        return "dot";
    case keyer::Element::Dash:
        return "dash";
    case keyer::Element::ElementGap:
        return "gap";
    case keyer::Element::LetterGap:
        return "letter gap";
    case keyer::Element::Symbols:
        return "symbols";
    case keyer::Element::End:
        break;
    }
    return "end";
}

std::string soundFailureText(const std::string& text, const std::string& device);

// A failure on a device or in a step: said on standard error, and the run ends with status 1.
class FailureSink : public platform::MessageSink {
public:
    void show(const std::string& text) override {
        error(soundFailureText(text, soundDevice));
        if (onFailure)
            onFailure();
    }
    std::function<void()> onFailure;
    std::string soundDevice; // the settings' audio device, for its failure's message
};

// The settings file is looked at before it is opened, and opened without waiting: a serial port named by
// mistake would raise its lines at a plain open, and a FIFO would block the beacon for good.
std::string settingsFileProblem(const std::string& path) {
    const int fd = platform::openFile(path, platform::FileAccess::Read);
    if (fd == -EISDIR)
        return "the settings file " + path + " is a directory";
    if (fd == -ENXIO)
        return "the settings file " + path + " is not a regular file (a device, FIFO or socket)";
    if (fd < 0)
        return "cannot read the settings file " + path + " (" + std::strerror(-fd) +
               "): set the station up in the window first, or name a file with --settings";
    std::string content;
    const int err = platform::readAll(fd, content);
    ::close(fd);
    if (err != 0)
        return "cannot read the settings file " + path + " (" + std::strerror(err) + ")";
    if (content.empty())
        return "the settings file " + path + " is empty: set the station up in the window first";
    if (!settings::IniDocument(std::move(content), settings::IniFile::kSection).hasSection())
        return path + " is not a settings file: it has no [" + settings::IniFile::kSection + "] section";
    return {};
}

// VFO A as the operator tunes it: coarse Hz and fine 0.01 Hz, "136000.37 Hz".
std::string vfoAText(std::int32_t coarseHz, std::int32_t fineCentiHz) {
    const std::int64_t centiHz = static_cast<std::int64_t>(coarseHz) * 100 + fineCentiHz;
    const std::int64_t whole = centiHz / 100, rest = centiHz % 100;
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld.%02lld Hz", centiHz < 0 && whole == 0 ? "-" : "",
                  static_cast<long long>(whole), static_cast<long long>(rest < 0 ? -rest : rest));
    return text;
}

// The sound failure in the words of the command line: the window's own text is Russian and bare.
std::string soundFailureText(const std::string& text, const std::string& device) {
    if (!text.starts_with(audio::kAudioDeviceError))
        return text;
    std::string reason = text.substr(audio::kAudioDeviceError.size());
    if (reason.starts_with(": "))
        reason.erase(0, 2);
    if (reason.starts_with(device + ": "))
        reason.erase(0, device.size() + 2);
    if (reason.empty())
        reason = audio::latestAlsaMessage();
    return "the sound device \"" + device + "\" cannot play" + (reason.empty() ? "" : ": " + reason);
}

// One line before the first pass: what this run keys and plays.
std::string runSummary(Station& station) {
    keyer::Port& port = station.port();
    const std::string portName = platform::cp1251ToUtf8(port.transmitter().portName(port.portChoice));
    const bool keyOnRts = port.keyLineChoice != keyer::KeyLine::Dtr;
    freqplan::FrequencyPlan& plan = station.plan();
    return "port " + portName + " (key on " + (keyOnRts ? "RTS" : "DTR") + ", PTT on " +
           (keyOnRts ? "DTR" : "RTS") + "), sound device \"" +
           station.settings().read(settings::keys::audioDevice) + "\", VFO A " +
           vfoAText(plan.vfoACoarseHz(), plan.vfoAFineCentiHz()) + ", mode " +
           trimmed(station.transmission().mode().label);
}

// Why the run ended, after how many passes.
std::string endingText(int status, int signal, int passes) {
    const std::string counted = std::to_string(passes) + (passes == 1 ? " pass" : " passes");
    if (signal != 0) {
        const char* name = sigabbrev_np(signal);
        return "stopped by SIG" + (name ? std::string(name) : std::to_string(signal)) + " after " + counted +
               " begun";
    }
    if (status != kExitOk)
        return "ended by the failure above after " + counted + " begun";
    return "done: " + counted + " sent";
}

// The tone plays before the first pass is announced: a sound device that fails as it opens or at its first
// writes ends the run with its message and no "next pass" line. Three buffers handed over means two were
// played. A device that neither plays nor fails within a few seconds is left to the run.
void startSound(Station& station, const Beacon& beacon) {
    constexpr std::int64_t kBuffersPlaying = 3;
    station.tone().start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!beacon.done() && station.stream().buffersSubmitted() < kBuffersPlaying &&
           std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// VFO A at the radio frequency, moved by offsetHz: "136000.732 Hz".
std::string movedVfoAText(std::int32_t coarseHz, std::int32_t fineCentiHz, double offsetHz) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f Hz",
                  static_cast<double>(coarseHz) + fineCentiHz / 100.0 + offsetHz);
    return text;
}

// "2026-12-07 15:30:01.682667Z": the instants of VFO A's moves, to the microsecond.
std::string formatUtcMicros(std::int64_t utcNs) {
    const std::int64_t us = utcNs / 1000 + (utcNs % 1000 >= 500 ? 1 : 0);
    const std::int64_t ms = us / 1000;
    std::string text = formatUtc(ms);
    text.insert(text.size() - 1, std::to_string(1000 + us % 1000).substr(1));
    return text;
}

void printDryRun(const Options& options, const Rehearsal& plan, const std::string& message,
                 std::int64_t passLengthMs) {
    std::cout << "dry run: nothing is keyed and nothing is played\n"
              << "message \"" << platform::cp1251ToUtf8(message) << "\", mode " << trimmed(plan.modeLabel)
              << ", one pass " << formatDuration(passLengthMs) << " from PTT on to PTT off\n";
    if (options.wspr2 && options.txPercent < 100)
        std::cout << "each frame carries a pass with a chance of " << options.txPercent
                  << " %; the passes are shown in the frames that follow each other\n";
    std::size_t pass = 0;
    std::size_t move = 0;
    for (const PassEdge& edge : plan.edges) {
        for (; move < plan.toneChanges.size() && plan.toneChanges[move].atUtcNs < edge.atUtcMs * 1'000'000;
             ++move)
            std::cout << "  " << formatUtcMicros(plan.toneChanges[move].atUtcNs) << "  VFO A "
                      << movedVfoAText(plan.vfoACoarseHz, plan.vfoAFineCentiHz,
                                       plan.toneChanges[move].rfOffsetHz)
                      << "\n";
        for (; pass < plan.passStarts.size() && plan.passStarts[pass] <= edge.atUtcMs; ++pass)
            std::cout << "pass " << pass + 1 << " at " << formatUtc(plan.passStarts[pass]) << "\n";
        std::cout << "  " << formatUtc(edge.atUtcMs) << "  " << (edge.ptt ? "PTT" : "key") << ' '
                  << (edge.on ? "on" : "off");
        if (plan.shifts && !edge.ptt && edge.on)
            std::cout << "  VFO A " << vfoAText(plan.vfoACoarseHz, plan.vfoAFineCentiHz - edge.shiftCentiHz);
        std::cout << "\n";
    }
    if (const std::int64_t more = options.loop ? 0 : options.count - std::int64_t(plan.passStarts.size());
        more > 0)
        std::cout << "then " << more << " more pass" << (more == 1 ? "" : "es") << " like these, "
                  << (options.everyMs > 0 ? "one in each frame" : "one after the other") << "\n";
    if (options.loop)
        std::cout << "then the same again " << (options.everyMs > 0 ? "in every frame" : "at once")
                  << ", until stopped\n";
    std::cout.flush();
}

} // namespace

std::string settingsFileRefusal(const std::string& path) {
    return settingsFileProblem(path);
}

std::string soundFailureMessage(const std::string& text, const std::string& device) {
    return soundFailureText(text, device);
}

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
    platform::installCrashHook(&keyer::SerialControlLines::abandonOpenPort,
                               &keyer::SerialControlLines::clearOpenPortLines);
    audio::keepAlsaMessages();
    Beacon* running = nullptr;
    bool terminated = false;
    int endingSignal = 0;
    platform::TerminationSignals::Actions actions;
    actions.terminate = [&](int signal) {
        terminated = true;
        endingSignal = signal;
        if (running)
            running->stop();
        else
            QCoreApplication::exit(0);
    };
    // Ctrl+Z: the pass on the air ends in order; once continued, the beacon carries on with its schedule.
    actions.suspend = [&] {
        if (running)
            running->pause();
    };
    actions.resume = [&] {
        if (running)
            running->resume();
    };
    platform::TerminationSignals termination(std::move(actions));

    FailureSink sink;
    station::RealDevices devices;
    keyer::SerialControlLines& lines = devices.lines;
    platform::QtTimer toneWatchdog; // outlives the station, whose end stops it
    Station station(devices.forBeacon(sink, settingsPath));
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
        sink.soundDevice = station.settings().read(settings::keys::audioDevice);
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
            shown.count = std::min(shown.count, kDryRunPasses);
            const Rehearsal plan = rehearse(settingsPath, shown, message, nowUtcMs());
            if (!plan.error.empty())
                return usageError(plan.error);
            printDryRun(options, plan, message, passLengthMs);
            return kExitOk;
        }
        if (options.renderFile) {
            Options rendered = options;
            rendered.loop = false;
            rendered.count = options.loop ? 1 : std::min(options.count, kRenderPasses);
            const Rehearsal plan = rehearse(settingsPath, rendered, message, nowUtcMs());
            if (!plan.error.empty())
                return usageError(plan.error);
            // A file-size limit is a write that fails, told and cleaned up as a full disk is, rather than a
            // signal that ends the program with the file cut short.
            std::signal(SIGXFSZ, SIG_IGN);
            const RenderResult written = renderRun(*options.renderFile, plan);
            if (!written.error.empty()) {
                error(written.error);
                return kExitFailure;
            }
            if (!options.quiet)
                std::cout << "rendered " << plan.passStarts.size() << " pass"
                          << (plan.passStarts.size() == 1 ? "" : "es") << ", "
                          << formatDuration(written.frames * 1000 / 44100) << " of tone, to "
                          << *options.renderFile << std::endl;
            return kExitOk;
        }
    } catch (const std::exception& failure) {
        return usageError(soundFailureText(failure.what(), sink.soundDevice));
    }
    if (terminated)
        return kExitOk;
    if (!options.quiet)
        std::cout << formatUtc(nowUtcMs()) << "  " << runSummary(station) << std::endl;

    platform::LinuxProcessPriority priority;
    priority.apply(station.priorityChoice());
    WallClockAlarm alarm;
    Beacon beacon(station, alarm, &nowUtcMs, options, message, passLengthMs);
    if (options.wspr2)
        beacon.sendWspr(keyer::wsprpass::Schedule(wsprMessages(options), options.txPercent));
    int status = kExitOk;
    beacon.finished = [&status](int result) {
        status = result;
        QCoreApplication::exit(result);
    };
    sink.onFailure = [&beacon] { beacon.fail(); };
    if (!options.quiet) {
        beacon.passScheduled = [](std::int64_t startUtcMs) {
            std::cout << formatUtc(nowUtcMs()) << "  next pass at " << formatUtc(startUtcMs) << std::endl;
        };
        beacon.passSkipped = [](std::int64_t frameUtcMs, std::int64_t lateMs) {
            std::cout << formatUtc(nowUtcMs()) << "  pass at " << formatUtc(frameUtcMs) << " skipped: woke "
                      << lateMs << " ms late" << std::endl;
        };
        beacon.frameLeftOut = [](std::int64_t frameUtcMs) {
            std::cout << formatUtc(nowUtcMs()) << "  frame at " << formatUtc(frameUtcMs)
                      << " left out (--tx-percent)" << std::endl;
        };
        beacon.clockStepped = [](std::int64_t stepMs) {
            std::cout << formatUtc(nowUtcMs()) << "  the system clock was set " << clockStepText(stepMs)
                      << std::endl;
        };
        beacon.elementShown = [&station](const ElementShown& shown) {
            std::cout << formatUtc(shown.atUtcMs) << "  " << trimmed(station.transmission().mode().label)
                      << "  " << elementName(shown.element) << "  \""
                      << platform::cp1251ToUtf8(station.transmission().sentText()) << "\"  ends "
                      << formatUtc(shown.passEndUtcMs) << std::endl;
        };
    }

    // The correction follows the sound card's measured clock, changed only as a pass is about to begin.
    std::optional<ClockTracking> tracking;
    QTimer clockPairs;
    if (options.trackClock) {
        tracking.emplace(station.plan().factors().correction, station.stored().cancelledOffset.ppm,
                         sink.soundDevice);
        const auto take = [&] {
            station.stream().takeClockPairs([&](const audio::ClockPair& pair) { tracking->add(pair); });
        };
        QObject::connect(&clockPairs, &QTimer::timeout, take);
        clockPairs.start(1000);
        beacon.passStarting = [&, take, quiet = options.quiet](std::int64_t) {
            take();
            const std::optional<double> factor = tracking->update();
            if (!factor)
                return;
            freqplan::FrequencyPlan& plan = station.plan();
            plan.setCorrection(*factor);
            plan.retuneVfoA();
            plan.retuneVfoB();
            if (!quiet)
                std::cout << formatUtc(nowUtcMs()) << "  "
                          << calibrationSummary(tracking->latest(),
                                                platform::KernelClockDiscipline().state().synchronised,
                                                *factor)
                          << std::endl;
        };
    }

    // The window's day-change line at midnight, when logging is on.
    devices.clockTimer.setEnabled(true);
    // An adapter unplugged between passes is found before the next pass would key into nothing.
    // Only a port that reported its lines once can be missed: some never tell.
    bool portTells = false;
    // VFO A's moves that the tone had no room for are told on the same tick, as the window shows them
    // beside the underruns: the run goes on, but what they belonged to was not sent as planned.
    std::int64_t lostMovesTold = 0;
    QTimer portCheck;
    QObject::connect(&portCheck, &QTimer::timeout, [&] {
        if (const std::int64_t lost = station.tone().lostRetunes(); lost > lostMovesTold) {
            lostMovesTold = lost;
            error(std::to_string(lost) +
                  " of VFO A's moves lost so far (the sound worker's queue was full): " +
                  "the passes they belong to are not sent as planned");
        }
        if (portTells && !lines.readBack())
            sink.show("the serial port " + station.port().transmitter().portName(station.port().portChoice) +
                      " is gone (unplugged?)");
    });
    portCheck.start(1000);

    running = &beacon;
    try {
        startLog(station);
        openPort(station);
        portTells = lines.readBack().has_value();
        startSound(station, beacon);
        if (!beacon.done())
            beacon.begin();
    } catch (const keyer::PortOpenFailure& failure) {
        error(failure.withSystemReason());
        status = kExitFailure;
    } catch (const std::exception& failure) {
        error(soundFailureText(failure.what(), sink.soundDevice));
        status = kExitFailure;
    }
    if (status == kExitOk && !beacon.done())
        QCoreApplication::exec();
    running = nullptr;
    portCheck.stop();
    clockPairs.stop();
    station.shutDown();
    if (!options.quiet)
        std::cout << formatUtc(nowUtcMs()) << "  " << endingText(status, endingSignal, beacon.passesStarted())
                  << std::endl;
    return status;
}

} // namespace tarvel::beacon
