#include "beacon/Rehearsal.h"

#include "audio/PcmName.h"
#include "audio/SilentAudioDevice.h"
#include "beacon/Schedule.h"
#include "keyer/MessageCompiler.h"
#include "keyer/Plan.h"
#include "keyer/WsprPass.h"
#include "platform/Cp1251.h"
#include "platform/VirtualTime.h"
#include "settings/Keys.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <variant>

namespace tarvel::beacon {
namespace {

// The rehearsal keys nothing: the station's lines lead nowhere.
class NoLines : public keyer::ControlLines {
public:
    bool open(const std::string&) override { return true; }
    void setRts(bool) override {}
    void setDtr(bool) override {}
    void close() override {}
};

// The first failure of the set-up stops the rehearsal: the beacon would not go on after one either.
class FirstFailure : public platform::MessageSink {
public:
    void show(const std::string& text) override {
        if (message.empty())
            message = text;
    }
    std::string message;
};

// The passes as the beacon sends them, walked on the keyer's plan: Start TX raises PTT, each step runs
// when the wait before it is over, and the step whose plan ends the transmission drops key and PTT.
class PassWalk {
public:
    PassWalk(Station& station, const Options& options) : station_(station), options_(options) {}

    std::vector<PassEdge> edges;
    std::vector<ToneChange> toneChanges;
    std::vector<VfoAWordChange> vfoAWords;
    std::vector<std::int64_t> passStarts;

    // message: Windows-1251, sent with the identification the station was prepared with; a WSPR-2 beacon
    // sends its messages in turn instead.
    void run(const std::string& message, std::int64_t nowUtcMs) {
        const keyer::Identification& id = station_.transmission().identification();
        if (options_.wspr2) {
            for (const keyer::wspr::Symbols& symbols : wsprMessages(options_))
                sequences_.push_back(keyer::wsprpass::sequence(symbols));
        } else {
            sequences_.push_back(keyer::CompileMessage(
                keyer::WrapWithIdentification(message, id.sendStart, id.startText, id.sendEnd, id.endText)));
        }
        speeds_ = id.speeds;
        // The options' count of passes (not for --loop: that never ends).
        const int count = std::max(options_.count, 1);
        std::int64_t notBefore = nowUtcMs;
        while (started_ < count) {
            const std::int64_t frame = passStart(notBefore, nowUtcMs, options_.everyMs, options_.offsetMs);
            // The alarm's timer comes at the next opportunity, a millisecond on, when the start is now.
            const std::int64_t at = std::max(frame, nowUtcMs + 1);
            passStarts.push_back(options_.everyMs > 0 ? frame : at);
            nowUtcMs = sendMessage(at, count);
            if (options_.everyMs == 0)
                break;
            // Halfway into the frame last sent: its successor.
            notBefore = frame + options_.everyMs / 2;
        }
    }

private:
    // Start TX and its steps until the transmission is let go; returns that time.
    std::int64_t sendMessage(std::int64_t at, int count) {
        freqplan::FrequencyPlan& plan = station_.plan();
        const keyer::KeyingValues values = station_.transmission().keying();
        keyer::PlanState state{1, values, values, plan.dfcwShift(), values.dotMs};
        // Without a frame the window's loop sends the passes back to back; the last one lets go of it.
        keyer::StepConditions conditions{speeds_, options_.everyMs == 0 && count > 1, true, false};
        const std::string& sequence = sequences_[static_cast<std::size_t>(started_) % sequences_.size()];
        const keyer::KeyerPlan steps(sequence);
        line(at, true, true);
        for (std::int64_t t = at;;) {
            std::int64_t next = -1;
            for (const keyer::Action& step : steps.step(state, conditions)) {
                if (const auto* key = std::get_if<keyer::action::Key>(&step)) {
                    line(t, false, key->down);
                } else if (const auto* shift = std::get_if<keyer::action::SetDfcwShift>(&step)) {
                    plan.setDfcwShift(shift->centiHz);
                } else if (const auto* move = std::get_if<keyer::action::ShiftVfoA>(&step)) {
                    // A moved tone the channels cannot take fails here as it would on the air.
                    vfoAWords.push_back(
                        {t * 1'000'000 + move->fromNs, plan.vfoAWordMovedBy(move->rfOffsetHz), true, false});
                    moveTone(t * 1'000'000 + move->fromNs, move->rfOffsetHz);
                } else if (const auto* retune = std::get_if<keyer::action::RetuneVfoA>(&step)) {
                    // A shifted tone the channels cannot take fails here as it would on the air.
                    vfoAWords.push_back({(t + retune->fromMs) * 1'000'000, plan.vfoAWord(), false, false});
                    plan.retuneVfoA();
                } else if (const auto* pass = std::get_if<keyer::action::Pass>(&step);
                           pass && pass->sending) {
                    if (++started_ >= count)
                        conditions.loop = false;
                } else if (const auto* wait = std::get_if<keyer::action::Wait>(&step)) {
                    next = t + wait->ms;
                } else if (std::holds_alternative<keyer::action::EndTransmission>(step)) {
                    line(t, false, false);
                    line(t, true, false);
                    return t;
                }
            }
            if (next < 0)
                return t; // nothing the compiler produces: the chain stops
            t = next;
        }
    }

    void line(std::int64_t atUtcMs, bool ptt, bool on) {
        bool& level = ptt ? ptt_ : key_;
        if (level != on)
            edges.push_back({atUtcMs, ptt, on, station_.plan().dfcwShift()});
        level = on;
        // Off the air VFO A plays its controls' frequency again.
        if (ptt && !on) {
            toneOffsetHz_ = 0;
            vfoAWords.push_back({atUtcMs * 1'000'000, station_.plan().vfoAWord(), false, true});
        }
    }

    void moveTone(std::int64_t atUtcNs, double rfOffsetHz) {
        if (!ptt_ || rfOffsetHz == toneOffsetHz_)
            return;
        toneChanges.push_back({atUtcNs, rfOffsetHz});
        toneOffsetHz_ = rfOffsetHz;
    }

    Station& station_;
    const Options& options_;
    std::vector<std::string> sequences_;
    keyer::IdSpeeds speeds_;
    double toneOffsetHz_ = 0;
    int started_ = 0;
    bool key_ = false;
    bool ptt_ = false;
};

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

std::vector<keyer::wspr::Symbols> wsprMessages(const Options& options) {
    return keyer::wspr::encode(options.call, options.locator, options.powerDbm).messages;
}

MessageChoice chooseMessage(const Options& options, const keyer::BeaconMessages& stored) {
    MessageChoice choice;
    if (options.wspr2) {
        choice.text = platform::cp1251ToUpper(platform::utf8ToCp1251(options.call + " " + options.locator +
                                                                     " " + std::to_string(options.powerDbm)));
        if (wsprMessages(options).empty())
            choice.error = "--mode wspr2: " +
                           keyer::wspr::encode(options.call, options.locator, options.powerDbm).refusal;
        return choice;
    }
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
    if (const SettingsProblem problem = restore(station); !problem.message.empty())
        return problem.message;
    // Refused here, before any pass, rather than at the first pass's start.
    const settings::IniFile& stored = station.settings();
    if (std::string refusal = audio::pcmRefusal(stored.read(settings::keys::audioDevice), stored);
        !refusal.empty())
        return refusal;
    chooseMode(station, options);
    if (std::string problem = unusableReference(station); !problem.empty())
        return problem;
    if (std::string problem = missingIdentification(station, options); !problem.empty())
        return problem;
    // Clock tracking corrects from the stored factor and the offset it cancels: a wrong one, every time.
    if (options.trackClock && !station.stored().cancelledOffset.refusal.empty())
        return station.stored().cancelledOffset.refusal;
    sendIdentification(station, options.idStart, options.idEnd);
    return {};
}

Rehearsal rehearse(const std::string& settingsPath, const Options& options, const std::string& message,
                   std::int64_t startUtcMs) {
    Rehearsal result;
    // The station's timer and clock are never run: the plan's waits are summed instead.
    platform::VirtualTime time(localTimeAt(startUtcMs));
    const auto keyerTimer = time.makeTimer();
    const auto clockTimer = time.makeTimer(); // never enabled: a rehearsal shows no clock
    FirstFailure sink;
    NoLines lines;
    const station::NoDeviceList noDevices;
    Station station({lines, *keyerTimer, *clockTimer, time, sink,
                     [](const std::string&) { return std::make_unique<audio::SilentAudioDevice>(); },
                     noDevices, settingsPath, settings::IniFile::Access::ReadOnly});
    PassWalk walk(station, options);
    try {
        result.error = prepareStation(station, options);
        if (!result.error.empty())
            return result;
        result.vfoA = station.plan().vfoA();
        result.vfoB = station.plan().vfoB();
        result.bufferFrames = station.stored().bufferKiB * 1024 / 4;
        walk.run(message, startUtcMs);
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
    result.edges = walk.edges;
    result.toneChanges = walk.toneChanges;
    result.vfoAWords = walk.vfoAWords;
    result.passStarts = walk.passStarts;
    if (!result.edges.empty())
        result.lengthMs = result.edges.back().atUtcMs - result.edges.front().atUtcMs;
    return result;
}

} // namespace tarvel::beacon
