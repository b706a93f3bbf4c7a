#include "beacon/Rehearsal.h"

#include "audio/PcmName.h"
#include "audio/SilentAudioDevice.h"
#include "beacon/Beacon.h"
#include "beacon/Schedule.h"
#include "keyer/MessageCompiler.h"
#include "platform/Cp1251.h"
#include "platform/VirtualTime.h"
#include "settings/Keys.h"

#include <exception>
#include <memory>

namespace tarvel::beacon {
namespace {

// The port's two outputs as key and PTT edges at the time of the pass's clock.
class EdgeRecorder : public keyer::ControlLines {
public:
    explicit EdgeRecorder(std::function<std::int64_t()> nowUtcMs) : nowUtcMs_(std::move(nowUtcMs)) {}

    std::function<bool()> keyIsRts = [] { return true; };
    std::function<std::int32_t()> shift = [] { return 0; };
    std::vector<PassEdge> edges;

    bool open(const std::string&) override { return true; }
    void setRts(bool on) override { set(rts_, keyIsRts() ? Line::Key : Line::Ptt, on); }
    void setDtr(bool on) override { set(dtr_, keyIsRts() ? Line::Ptt : Line::Key, on); }
    void close() override {
        setRts(false);
        setDtr(false);
    }

private:
    enum class Line { Key, Ptt };
    void set(bool& level, Line line, bool on) {
        if (level != on)
            edges.push_back({nowUtcMs_(), line == Line::Ptt, on, shift()});
        level = on;
    }

    std::function<std::int64_t()> nowUtcMs_;
    bool rts_ = false;
    bool dtr_ = false;
};

// The first failure of the pass stops it: the beacon would not go on after one either.
class FirstFailure : public platform::MessageSink {
public:
    void show(const std::string& text) override {
        if (message.empty())
            message = text;
    }
    std::string message;
};

// Far more steps than the longest message at the slowest mode takes: a loop that never ends is a fault.
constexpr long kMaxSteps = 50'000'000;

bool sendable(const std::string& cp1251) {
    const std::string sequence = keyer::CompileMessage(cp1251);
    return sequence.find_first_of("*-") != std::string::npos;
}

bool blank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

// An identification asked for but not stored would hold PTT up through its pauses with nothing keyed.
std::string missingIdentification(Station& station, const Options& options) {
    const keyer::Identification& id = station.transmission().identification();
    const auto refusal = [&](const char* option, const settings::TextKey& key) {
        return std::string(option) + ": no identification is stored in " + station.settings().path() + " (" +
               std::string(key.name) + "): write it in the window first";
    };
    if (options.idStart && blank(id.startText))
        return refusal("--id-start", settings::keys::startIdText);
    if (options.idEnd && blank(id.endText))
        return refusal("--id-end", settings::keys::endIdText);
    return {};
}

} // namespace

MessageChoice chooseMessage(const Options& options, const keyer::BeaconMessages& stored) {
    MessageChoice choice;
    if (options.text) {
        choice.text = platform::cp1251ToUpper(platform::utf8ToCp1251(*options.text));
        if (options.text->find_first_not_of(' ') == std::string::npos)
            choice.error = "the text given by --text is empty";
    } else {
        choice.text = stored.text(options.message);
        if (choice.text.find_first_not_of(' ') == std::string::npos)
            choice.error = "stored message " + std::to_string(options.message) +
                           " is empty: write it in the window first, or give one with --text";
    }
    if (choice.error.empty() && !sendable(choice.text))
        choice.error = "nothing in \"" +
                       (options.text ? *options.text : platform::cp1251ToUtf8(choice.text)) +
                       "\" can be sent in Morse";
    return choice;
}

std::string prepareStation(Station& station, const Options& options) {
    if (const SettingsProblem problem = station.restore(); !problem.message.empty())
        return problem.message;
    // Refused here, before any pass, rather than at the first pass's start.
    const settings::IniFile& stored = station.settings();
    if (std::string refusal = audio::pcmRefusal(stored.read(settings::keys::audioDevice), stored);
        !refusal.empty())
        return refusal;
    station.chooseMode(options.presetRow);
    if (std::string problem = station.unusableReference(); !problem.empty())
        return problem;
    if (std::string problem = missingIdentification(station, options); !problem.empty())
        return problem;
    station.sendIdentification(options.idStart, options.idEnd);
    return {};
}

Rehearsal rehearse(const std::string& settingsPath, const Options& options, const std::string& message,
                   std::int64_t startUtcMs) {
    Rehearsal result;
    platform::VirtualTime time(localTimeAt(startUtcMs));
    const auto keyerTimer = time.makeTimer();
    const auto alarmTimer = time.makeTimer();
    const auto nowUtcMs = [&time, startUtcMs] { return startUtcMs + time.nowMs(); };
    FirstFailure sink;
    EdgeRecorder lines(nowUtcMs);
    Station station({lines,
                     *keyerTimer,
                     time,
                     sink,
                     [](const std::string&) { return std::make_unique<audio::SilentAudioDevice>(); },
                     {},
                     settingsPath});
    lines.keyIsRts = [&station] { return station.port().keyLineChoice != keyer::KeyLine::Dtr; };
    lines.shift = [&station] { return station.plan().dfcwShift(); };
    try {
        result.error = prepareStation(station, options);
        if (!result.error.empty())
            return result;
        // Nothing was sent, so nothing is logged.
        station.logbook().setOn(false);
        station.openPort();
        TimerAlarm alarm(*alarmTimer, nowUtcMs);
        Beacon beacon(station, alarm, nowUtcMs, options, message, 0);
        beacon.passStarting = [&result](std::int64_t start) { result.passStarts.push_back(start); };
        beacon.begin();
        for (long step = 0; !beacon.done() && sink.message.empty() && step < kMaxSteps; ++step)
            if (!time.runNext())
                break;
        const keyer::KeyingMode& mode = station.transmission().mode();
        result.modeLabel = mode.label;
        result.shifts = mode.values.dfcwMode == keyer::DfcwMode::Dfcw && mode.values.dfcwShift != 0;
        result.vfoACoarseHz = station.plan().vfoACoarseHz();
        result.vfoAFineCentiHz = station.plan().vfoAFineCentiHz();
    } catch (const std::exception& failure) {
        result.error = failure.what();
    }
    if (result.error.empty())
        result.error = sink.message;
    result.edges = lines.edges;
    if (!result.edges.empty())
        result.lengthMs = result.edges.back().atUtcMs - result.edges.front().atUtcMs;
    return result;
}

} // namespace tarvel::beacon
