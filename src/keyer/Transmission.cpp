#include "keyer/Transmission.h"

#include "keyer/MessageCompiler.h"
#include "keyer/TransmissionEstimate.h"
#include "keyer/Wspr.h"
#include "platform/Failure.h"
#include "platform/Locale.h"

#include <algorithm>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tarvel::keyer {

Transmission::Transmission(platform::Timer& keyerTimer, TransmitterControl& transmitter,
                           freqplan::FrequencyPlan& plan, audio::ToneOutput& tone, log::Logbook& log,
                           const BeaconMessages& messages, const platform::Clock& clock,
                           platform::MessageSink& sink)
    : timer_(keyerTimer), transmitter_(transmitter), plan_(plan), tone_(tone), log_(log), messages_(messages),
      clock_(clock), sink_(sink) {
    timer_.onTimeout = [this] { guardedStep(); };
}

Transmission::~Transmission() {
    // An edge handed over reaches into this and the transmitter.
    timer_.actAtDeadline(nullptr);
}

void Transmission::setSequence(std::string sequence, std::int32_t position) {
    sequence_ = std::move(sequence);
    position_ = position;
    notices.sequenceChanged();
}

// Starting a message while another runs replaces it: Start TX recompiles and begins afresh.
void Transmission::sendMessage(const std::string& text) {
    sendPass(text, {});
}

void Transmission::sendPass(const std::string& text, std::string sequence) {
    messageRunning_ = true;
    sequence_.clear();
    text_ = text;
    notices.sequenceChanged();
    messageText_ = text;
    ownSequence_ = std::move(sequence);
    start(text);
}

void Transmission::start(const std::string& message) {
    struct Anchored {
        platform::Timer& timer;
        ~Anchored() { timer.dropAnchor(); }
    } anchored{timer_};
    // Moves handed ahead are for the pass that brings its own sequence: a message started before that pass
    // (the operator's, in the seconds before a WSPR frame) must not be sent on them. A tone stopped since
    // has lost them: the pass queues its own.
    if (ownSequence_.empty() || !tone_.playing())
        dropHandedMoves();
    sentText_.clear();
    notices.sentTextChanged();
    position_ = 1;
    toneWasPlaying_ = tone_.playing();
    try {
        // A tone that cannot start ends the start here too: nothing may look as if it were sending.
        if (!tone_.playing())
            tone_.start();
        // Also when the tone already played: the transmission owns it until it ends.
        tone_.holdForTransmission();
        savedMode_ = mode_.values;
        transmitter_.pttOn();
        // The elements are timed from the PTT, whatever the log and settings files take before the first
        // step.
        timer_.anchorNextStart();
        prepare(message);
    } catch (...) {
        // A transmission that was running when this start began must not go on with the new position either.
        ownSequence_.clear();
        haltChain();
        takeOffAir(std::nullopt);
        notices.messagesIdle();
        throw;
    }
    guardedStep();
}

void Transmission::prepare(const std::string& message) {
    messages_.store();
    log_.refresh();
    notices.manualPttOffered(false);
    std::vector<std::string> trace;
    if (!ownSequence_.empty()) {
        // A pass that brings its own sequence sends no identification and compiles nothing.
        text_ = message;
        sequence_ = std::exchange(ownSequence_, {});
    } else {
        text_ = WrapWithIdentification(message, id_.sendStart, id_.startText, id_.sendEnd, id_.endText);
        sequence_ = CompileMessage(text_, &trace);
    }
    notices.sequenceChanged();
    for (const std::string& line : trace)
        notices.compilerTraced(line);
    refreshEstimate();
}

void Transmission::refreshEstimate() {
    const double total = EstimateMilliseconds(sequence_, mode_.values, id_.speeds);
    // One reading of the clock, so the end time is the start time plus exactly the duration shown.
    const platform::LocalTime now = clock_.now();
    estimate_ = {FormatDuration(total), platform::formatLongTime(now), FormatEndTime(now, total)};
    notices.estimateChanged();
}

PlanState Transmission::planState() const {
    return {position_, mode_.values, savedMode_, plan_.dfcwShift(), mode_.values.dotMs};
}

StepConditions Transmission::conditions() const {
    return {id_.speeds, loop_, messageRunning_, false};
}

Actions Transmission::step(PlanState& state) const {
    return stepSource_ ? stepSource_(state, conditions()) : KeyerPlan(sequence_).step(state, conditions());
}

void Transmission::stepKeyer() {
    timer_.setEnabled(false);
    // Once disabled, the timer makes no edge any more: the one it made, if any, is settled.
    const int made = edgeMade_.exchange(NoEdge);
    stepInstantNs_ = timer_.stepInstantNs();
    stepMovesQueued_ = std::exchange(movesQueuedAhead_, false) || movesHanded_;
    PlanState state = planState();
    Actions actions = step(state);
    if (made != NoEdge && !actions.empty())
        if (const auto* k = std::get_if<action::Key>(&actions.front()); k && k->down == (made == KeyDownMade))
            actions.erase(actions.begin());
    apply(actions);
}

void Transmission::guardedStep() {
    const bool transmitting = onAir() || (position_ >= 1 && position_ <= length());
    platform::runGuarded(sink_, [&] {
        try {
            stepKeyer();
        } catch (...) {
            if (transmitting)
                stopTransmission();
            throw;
        }
    });
}

bool Transmission::onAir() const {
    return messageRunning_ || (timer_.enabled() && position_ >= 1 && position_ <= length());
}

void Transmission::apply(const Actions& actions) {
    for (const Action& action : actions)
        apply(action);
}

void Transmission::apply(const Action& step) {
    std::visit(
        [this](const auto& a) {
            using A = std::decay_t<decltype(a)>;
            if constexpr (std::is_same_v<A, action::Key>) {
                key(a.down);
            } else if constexpr (std::is_same_v<A, action::SetDfcwShift>) {
                plan_.setDfcwShift(a.centiHz);
            } else if constexpr (std::is_same_v<A, action::RetuneVfoA>) {
                if (!stepMovesQueued_)
                    tone_.retuneVfoAAt(plan_.vfoAWord(), stepInstantNs_ + a.fromMs * 1'000'000, false);
                plan_.retuneVfoA();
            } else if constexpr (std::is_same_v<A, action::ShiftVfoA>) {
                if (!stepMovesQueued_)
                    tone_.retuneVfoAAt(plan_.vfoAWordMovedBy(a.rfOffsetHz), stepInstantNs_ + a.fromNs, true);
            } else if constexpr (std::is_same_v<A, action::Log>) {
                write(a.record);
            } else if constexpr (std::is_same_v<A, action::Show>) {
                notices.elementBegun(a.element);
            } else if constexpr (std::is_same_v<A, action::Pass>) {
                notices.passChanged(a.sending);
            } else if constexpr (std::is_same_v<A, action::ClearSentText>) {
                sentText_.clear();
                notices.sentTextChanged();
            } else if constexpr (std::is_same_v<A, action::CharacterSent>) {
                sentText_.push_back(a.symbol);
                notices.sentTextChanged();
            } else if constexpr (std::is_same_v<A, action::ShiftTraced>) {
                notices.shiftTraced(a.centiHz, a.position);
                if (a.gap)
                    notices.gapShiftShown(a.centiHz);
            } else if constexpr (std::is_same_v<A, action::SwitchValues>) {
                mode_.values = a.values;
            } else if constexpr (std::is_same_v<A, action::IdentificationBegun>) {
                notices.identificationTraced(a.unitMs, a.nextSymbol);
            } else if constexpr (std::is_same_v<A, action::Wait>) {
                arm(a.ms, a.positions);
            } else if constexpr (std::is_same_v<A, action::EndTransmission>) {
                takeOffAir(std::nullopt);
            } else if constexpr (std::is_same_v<A, action::MessagesIdle>) {
                notices.messagesIdle();
            } else if constexpr (std::is_same_v<A, action::Restart>) {
                position_ = 1;
                notices.loopRestarted(clock_.now());
            }
        },
        step);
}

void Transmission::arm(std::int64_t intervalMs, std::int32_t positions) {
    timer_.setInterval(static_cast<std::int32_t>(intervalMs));
    timer_.setEnabled(true);
    position_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(position_) +
                                          static_cast<std::uint32_t>(positions));
    prepareNextStep();
}

bool Transmission::queueMovesAhead(const Actions& actions, std::int64_t stepNs) {
    struct Move {
        std::int64_t word;
        std::int64_t instantNs;
        bool continuous;
    };
    std::vector<Move> moves;
    // A retune ahead takes the DFCW shift its step will have set by then.
    std::int32_t shift = plan_.dfcwShift();
    try {
        for (const Action& action : actions) {
            if (const auto* s = std::get_if<action::SetDfcwShift>(&action))
                shift = s->centiHz;
            else if (const auto* r = std::get_if<action::RetuneVfoA>(&action))
                moves.push_back({plan_.vfoAWordWithShift(shift), stepNs + r->fromMs * 1'000'000, false});
            else if (const auto* m = std::get_if<action::ShiftVfoA>(&action))
                moves.push_back({plan_.vfoAWordMovedBy(m->rfOffsetHz), stepNs + m->fromNs, true});
        }
    } catch (const platform::Failure&) {
        // A word that cannot be had fails the step itself, when it runs, as it always did.
        return false;
    }
    for (const Move& move : moves)
        tone_.retuneVfoAAt(move.word, move.instantNs, move.continuous);
    return true;
}

void Transmission::prepareNextStep() {
    PlanState ahead = planState();
    const Actions next = step(ahead);
    movesQueuedAhead_ = movesHanded_ || queueMovesAhead(next, timer_.pendingDeadlineNs());
    const auto* k = next.empty() ? nullptr : std::get_if<action::Key>(&next.front());
    if (!k)
        return;
    const bool down = k->down;
    timer_.actAtDeadline([this, edge = transmitter_.keyEdge(down), down] {
        edge();
        edgeMade_ = down ? KeyDownMade : KeyUpMade;
    });
}

void Transmission::key(bool down) {
    edgeMade_ = NoEdge;
    if (down)
        transmitter_.keyOn();
    else
        transmitter_.keyOff();
}

void Transmission::write(LogRecord record) {
    switch (record) {
    case LogRecord::Start:
        log_.startRecord(mode_.label, estimate_.duration, messageText_, plan_.vfoACoarseHz(),
                         plan_.vfoAFineCentiHz());
        break;
    case LogRecord::End:
        log_.endRecord();
        break;
    case LogRecord::Stop:
        log_.stopRecord();
        break;
    }
}

void Transmission::element(Element element) {
    // An element by hand is a step of its own: its moves go to the tone from now.
    stepInstantNs_ = timer_.stepInstantNs();
    stepMovesQueued_ = false;
    PlanState state = planState();
    apply(KeyerPlan(sequence_).element(element, state));
}

void Transmission::openingPause() {
    element(Element::OpeningPause);
}
void Transmission::dot() {
    element(Element::Dot);
}
void Transmission::dash() {
    element(Element::Dash);
}
void Transmission::elementGap() {
    element(Element::ElementGap);
}
void Transmission::letterGap() {
    element(Element::LetterGap);
}

void Transmission::haltChain() {
    timer_.setEnabled(false);
    movesQueuedAhead_ = false;
    position_ = length() + 1;
}

void Transmission::takeOffAir(std::optional<LogRecord> record) {
    // The lines first: whatever fails after them, the transmitter is off.
    key(false);
    transmitter_.pttOff();
    messageRunning_ = false;
    movesQueuedAhead_ = false;
    movesHanded_ = false;
    // Moves still waiting belong to the transmission; VFO A comes back to what its controls say.
    tone_.playStoredVfoA();
    tone_.endTransmission(!toneWasPlaying_);
    if (record)
        write(*record);
    notices.manualPttOffered(true);
}

// A pass's moves go to the tone's queue at once, and the moves of a pass dropped just before may still wait
// there until the worker's next buffer (a new frame's, or a clock step's, handing); the steps of the other
// modes queue a move or two each, a wait ahead. Both passes must fit, or a symbol is lost.
static_assert(2 * wspr::kSymbolCount <= audio::VfoAMoveQueue::kCapacity);

bool Transmission::handPassMovesAhead(const std::string& sequence, std::int64_t pttInMs) {
    dropHandedMoves();
    // A tone that does not play takes no moves: counted as handed, they would leave the pass without any.
    if (!tone_.playing())
        return false;
    const KeyerPlan pass(sequence);
    PlanState state{1, mode_.values, mode_.values, plan_.dfcwShift(), mode_.values.dotMs};
    const StepConditions once{id_.speeds, false, true, false};
    // Each step's deadline as the runner will count it from the PTT.
    std::int64_t stepNs = timer_.stepInstantNs() + pttInMs * 1'000'000;
    while (state.position >= 1 && state.position <= pass.length()) {
        const Actions actions = pass.step(state, once);
        if (!queueMovesAhead(actions, stepNs)) {
            tone_.playStoredVfoA();
            return false;
        }
        const auto wait = std::find_if(actions.begin(), actions.end(), [](const Action& a) {
            return std::holds_alternative<action::Wait>(a);
        });
        if (wait == actions.end())
            break;
        stepNs += std::get<action::Wait>(*wait).ms * 1'000'000;
    }
    movesHanded_ = true;
    return true;
}

void Transmission::dropHandedMoves() {
    if (!std::exchange(movesHanded_, false))
        return;
    tone_.playStoredVfoA();
}

void Transmission::stopTransmission() {
    // Everything but the DFCW mode comes back; an FSKCW mode comes back whole, or a stop inside its
    // identification would leave a DFCW mode with FSKCW's dashes and shift.
    KeyingValues& k = mode_.values;
    const DfcwMode dfcwMode = k.dfcwMode;
    k = savedMode_;
    if (savedMode_.dfcwMode != DfcwMode::Fskcw)
        k.dfcwMode = dfcwMode;
    haltChain();
    takeOffAir(LogRecord::Stop);
    notices.messagesIdle();
    // The end of the sequence as the next step would show it.
    stepKeyer();
}

void Transmission::keyDown() {
    key(true);
}

void Transmission::keyUp() {
    key(false);
}

} // namespace tarvel::keyer
