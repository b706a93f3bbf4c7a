#include "keyer/Transmission.h"

#include "keyer/MessageCompiler.h"
#include "keyer/MorseTable.h"
#include "keyer/TransmissionEstimate.h"
#include "platform/Locale.h"

#include <utility>
#include <vector>

namespace tarvel::keyer {
namespace {

// Products of the keying values are 32-bit, as they always were: widen, then narrow.
std::int32_t product32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(a) * b);
}

// A character that heads its own code string is echoed to the display; the markers are not characters.
bool isEcho(unsigned char symbol) {
    if (symbol == '>' || symbol == '#' || symbol == '^')
        return false;
    const auto code = MorseTable::lookup(symbol);
    return code && !code->empty() && static_cast<unsigned char>(code->front()) == symbol;
}

template <typename Event, typename... Args> void notify(const Event& event, Args&&... args) {
    if (event)
        event(std::forward<Args>(args)...);
}

} // namespace

Transmission::Transmission(platform::Timer& keyerTimer, TransmitterControl& transmitter,
                           freqplan::FrequencyPlan& plan, audio::ToneOutput& tone, log::Logbook& log,
                           const BeaconMessages& messages, const platform::Clock& clock,
                           platform::MessageSink& sink)
    : timer_(keyerTimer), transmitter_(transmitter), plan_(plan), tone_(tone), log_(log), messages_(messages),
      clock_(clock), sink_(sink) {
    timer_.onTimeout = [this] { guardedStep(); };
}

void Transmission::show(const char* element) {
    notify(events.elementShown, std::string(element));
}
void Transmission::sentTextChanged() {
    notify(events.sentTextChanged);
}
void Transmission::passChanged(bool sending) {
    notify(events.passChanged, sending);
}
void Transmission::messagesIdle() {
    notify(events.messagesIdle);
}
void Transmission::offerManualPtt(bool offered) {
    notify(events.manualPttOffered, offered);
}

void Transmission::setSequence(std::string sequence, std::int32_t position) {
    sequence_ = std::move(sequence);
    position_ = position;
    notify(events.sequenceChanged);
}

unsigned char Transmission::symbolAt(std::int64_t position) const {
    if (position < 1 || position > length())
        return 0;
    return static_cast<unsigned char>(sequence_[static_cast<std::size_t>(position - 1)]);
}

// Starting a message while another runs replaces it: Start TX recompiles and begins afresh.
void Transmission::sendMessage(const std::string& text) {
    messageRunning_ = true;
    sequence_.clear();
    text_ = text;
    notify(events.sequenceChanged);
    messageText_ = text;
    start(text);
}

void Transmission::start(const std::string& message) {
    sentText_.clear();
    sentTextChanged();
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
        prepare(message);
    } catch (...) {
        release();
        throw;
    }
    guardedStep();
}

void Transmission::prepare(const std::string& message) {
    messages_.store();
    log_.refresh();
    offerManualPtt(false);
    text_ = WrapWithIdentification(message, id_.sendStart, id_.startText, id_.sendEnd, id_.endText);
    std::vector<std::string> trace;
    sequence_ = CompileMessage(text_, &trace);
    notify(events.sequenceChanged);
    for (const std::string& line : trace)
        notify(events.traceLine, line);
    refreshEstimate();
}

void Transmission::release() {
    // A transmission that was running when this start began must not go on with the new position either.
    timer_.setEnabled(false);
    position_ = length() + 1;
    transmitter_.keyOff();
    transmitter_.pttOff();
    tone_.endTransmission(!toneWasPlaying_);
    messageRunning_ = false;
    messagesIdle();
    offerManualPtt(true);
}

void Transmission::refreshEstimate() {
    const double total = EstimateMilliseconds(sequence_, mode_.values, id_.speeds);
    // One reading of the clock, so the end time is the start time plus exactly the duration shown.
    const platform::LocalTime now = clock_.now();
    estimate_ = {FormatDuration(total), platform::formatLongTime(now), FormatEndTime(now, total)};
    notify(events.estimateChanged);
}

void Transmission::stepKeyer() {
    timer_.setEnabled(false);
    if (position_ >= 1 && position_ <= length())
        perform();
    if (position_ > length())
        endProcessing();
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

bool Transmission::perform() {
    const unsigned char symbol = symbolAt(position_);
    switch (symbol) {
    case '<':
        startMarker();
        return true;
    case '*':
        dot();
        return true;
    case '-':
        dash();
        return true;
    case ',':
        elementGap();
        return true;
    case '=':
        letterGap();
        return true;
    case '>':
        identification(true);
        return true;
    case '#':
        identification(false);
        return true;
    case '^':
        restoreMode();
        return true;
    default:
        break;
    }
    if (isEcho(symbol)) {
        echo(symbol);
        return true;
    }
    // Nothing the compiler produces gets here: the chain stops where it is.
    return false;
}

void Transmission::arm(std::int64_t intervalMs) {
    timer_.setInterval(static_cast<std::int32_t>(intervalMs));
    timer_.setEnabled(true);
    ++position_;
}

void Transmission::lookAhead(std::int64_t position) {
    if (mode_.values.dfcwMode != 1)
        return;
    const unsigned char next = symbolAt(position);
    if (next == '*')
        plan_.setDfcwShift(mode_.values.dfcwShift);
    else if (next == '-')
        plan_.setDfcwShift(0);
    // Retuned even when df stayed, so VFO A always matches the controls at each gap.
    plan_.retuneVfoA();
}

void Transmission::trace(std::int64_t value, std::int64_t position, const char* lead) {
    notify(events.traceLine, std::string(lead) + std::to_string(value) + "  " + std::to_string(position));
}

void Transmission::startMarker() {
    sentText_.clear();
    sentTextChanged();
    passChanged(true);
    log_.startRecord(mode_.label, estimate_.duration, messageText_, plan_.vfoACoarseHz(),
                     plan_.vfoAFineCentiHz());
    openingPause();
}

void Transmission::openingPause() {
    transmitter_.keyOff();
    // Position 3 holds the first element of the first character.
    lookAhead(3);
    show("//");
    arm(1000);
}

void Transmission::dot() {
    const std::int32_t position = position_;
    show("*");
    transmitter_.keyOn();
    trace(plan_.dfcwShift(), position, "df=");
    arm(mode_.values.dotMs);
}

void Transmission::dash() {
    const std::int32_t position = position_;
    transmitter_.keyOn();
    show("==");
    trace(plan_.dfcwShift(), position, "df=");
    arm(product32(mode_.values.dotMs, mode_.values.dashFactor));
}

void Transmission::elementGap() {
    gap(1, "/", ElementGapMilliseconds(mode_.values.dotMs, mode_.values.gapDivisor));
}

void Transmission::letterGap() {
    // Past the next character's echo to its first element.
    gap(2, "-----", product32(mode_.values.dotMs, mode_.values.letterGapFactor));
}

void Transmission::gap(std::int64_t lookAheadOffset, const char* element, std::int64_t intervalMs) {
    const std::int64_t position = position_;
    transmitter_.keyOff();
    lookAhead(position + lookAheadOffset);
    show(element);
    trace(plan_.dfcwShift(), position + 1, "df=");
    notify(events.gapShiftShown, plan_.dfcwShift());
    arm(intervalMs);
}

void Transmission::identification(bool startId) {
    KeyingValues& k = mode_.values;
    k.dfcwShift = 0;
    k.dfcwMode = 1;
    const bool cw = startId ? id_.speeds.startCw : id_.speeds.endCw;
    const bool qrss3 = startId ? id_.speeds.startQrss3 : id_.speeds.endQrss3;
    if (cw || qrss3) {
        k.dotMs = cw ? 100 : 3000;
        k.dashFactor = 3;
        k.gapDivisor = 1;
        k.letterGapFactor = 3;
    }
    arm(k.dotMs);
    // The "," that follows the marker retunes to the unshifted frequency.
    plan_.setDfcwShift(0);
    notify(events.traceLine, "TT=" + std::to_string(k.dotMs) + "  " + std::to_string(symbolAt(position_)));
}

void Transmission::restoreMode() {
    const std::int32_t position = position_;
    mode_.values = savedMode_;
    arm(1000);
    lookAhead(static_cast<std::int64_t>(position) + 2);
}

void Transmission::echo(unsigned char symbol) {
    sentText_.push_back(static_cast<char>(symbol));
    sentTextChanged();
    arm(1);
}

void Transmission::endProcessing() {
    show("END");
    passChanged(false);
    if (messageRunning_) {
        log_.endRecord();
        if (!loop_) {
            tone_.endTransmission(!toneWasPlaying_);
            messageRunning_ = false;
            transmitter_.pttOff();
            offerManualPtt(true);
        }
    }
    if (!loop_)
        messagesIdle();
    if (loop_) {
        position_ = 1;
        notify(events.loopRestarted, platform::formatLongTime(clock_.now()));
    }
}

void Transmission::stopTransmission() {
    // Everything but the DFCW mode comes back.
    KeyingValues& k = mode_.values;
    k.dotMs = savedMode_.dotMs;
    k.dashFactor = savedMode_.dashFactor;
    k.gapDivisor = savedMode_.gapDivisor;
    k.letterGapFactor = savedMode_.letterGapFactor;
    k.dfcwShift = savedMode_.dfcwShift;
    messageRunning_ = false;
    timer_.setEnabled(false);
    tone_.endTransmission(!toneWasPlaying_);
    transmitter_.keyOff();
    position_ = length() + 1;
    messagesIdle();
    stepKeyer();
    transmitter_.pttOff();
    log_.stopRecord();
    offerManualPtt(true);
}

void Transmission::keyDown() {
    transmitter_.keyOn();
}

void Transmission::keyUp() {
    transmitter_.keyOff();
}

} // namespace tarvel::keyer
