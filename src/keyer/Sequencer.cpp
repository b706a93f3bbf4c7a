#include "keyer/Sequencer.h"

#include "keyer/MorseTable.h"
#include "platform/Locale.h"

#include <string>

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

} // namespace

Sequencer::Sequencer(SequencerControls controls, KeyerState& state, platform::Timer& Timer1,
                     TransmitterControl& transmitter, freqplan::FrequencyPlan& plan, audio::ToneOutput& tone,
                     log::Logbook& log, const platform::Clock& clock, platform::MessageSink& sink)
    : c_(controls), state_(state), timer_(Timer1), transmitter_(transmitter), plan_(plan), tone_(tone),
      log_(log), clock_(clock), sink_(sink) {
    timer_.onTimeout = [this] { guardedStep(); };
    c_.BtStopTX.onClick = [this] { stopTransmission(); };
    c_.dot.onClick = [this] { dotClick(); };
    c_.dash.onClick = [this] { dashClick(); };
    c_.lPause.onClick = [this] { lPauseClick(); };
    c_.bigPause.onClick = [this] { bigPauseClick(); };
    c_.btStP.onClick = [this] { btStPClick(); };
    c_.BtPause.onClick = [this] { BtPauseClick(); };
    c_.Button3.onClick = [this] { stepKeyer(); };
    c_.Button4.onClick = [this] { Button4Click(); };
    c_.cw.onClick = [this] { cwClick(); };
}

std::int32_t Sequencer::length() const {
    return static_cast<std::int32_t>(c_.Ed3.text().size());
}

unsigned char Sequencer::symbolAt(std::int64_t position) const {
    if (position < 1 || position > length())
        return 0;
    return static_cast<unsigned char>(c_.Ed3.text()[static_cast<std::size_t>(position - 1)]);
}

void Sequencer::stepKeyer() {
    timer_.setEnabled(false);
    if (state_.kk >= 1 && state_.kk <= length())
        perform();
    if (state_.kk > length())
        endProcessing();
}

void Sequencer::guardedStep() {
    const bool transmitting = onAir() || (state_.kk >= 1 && state_.kk <= length());
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

bool Sequencer::onAir() const {
    return state_.txActive == 1 || (timer_.enabled() && state_.kk >= 1 && state_.kk <= length());
}

bool Sequencer::perform() {
    const unsigned char symbol = symbolAt(state_.kk);
    switch (symbol) {
    case '<':
        startMarker();
        return true;
    case '*':
        dotClick();
        return true;
    case '-':
        dashClick();
        return true;
    case ',':
        lPauseClick();
        return true;
    case '=':
        bigPauseClick();
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

void Sequencer::arm(std::int64_t intervalMs) {
    timer_.setInterval(static_cast<std::int32_t>(intervalMs));
    timer_.setEnabled(true);
    ++state_.kk;
}

void Sequencer::lookAhead(std::int64_t position) {
    if (state_.keying.dfcwMode != 1)
        return;
    const unsigned char next = symbolAt(position);
    if (next == '*')
        plan_.setDfcwShift(state_.keying.dfcwShift);
    else if (next == '-')
        plan_.setDfcwShift(0);
    // Retuned even when df stayed, so VFO A always matches the controls at each gap.
    plan_.retuneVfoA();
}

void Sequencer::trace(std::int64_t value, std::int64_t position, const char* lead) {
    c_.Memo1.addLine(std::string(lead) + std::to_string(value) + "  " + std::to_string(position));
}

void Sequencer::startMarker() {
    state_.sentText.clear();
    c_.LbTextNow.setCaption("");
    c_.LbTextNow.setFontColor(kSendingTextColor);
    log_.startRecord(c_.Lbmode.caption(), c_.LbTTX.caption(), state_.messageText, plan_.vfoACoarseHz(),
                     plan_.vfoAFineCentiHz());
    btStPClick();
}

void Sequencer::btStPClick() {
    transmitter_.keyOff();
    // Position 3 holds the first element of the first character.
    lookAhead(3);
    c_.Lbo.setCaption("//");
    arm(1000);
}

void Sequencer::dotClick() {
    const std::int32_t position = state_.kk;
    c_.Lbo.setCaption("*");
    transmitter_.keyOn();
    trace(plan_.dfcwShift(), position, "df=");
    arm(state_.keying.TT);
}

void Sequencer::dashClick() {
    const std::int32_t position = state_.kk;
    transmitter_.keyOn();
    c_.Lbo.setCaption("==");
    trace(plan_.dfcwShift(), position, "df=");
    arm(product32(state_.keying.TT, state_.keying.dashFactor));
}

void Sequencer::lPauseClick() {
    gap(1, "/", ElementGapMilliseconds(state_.keying.TT, state_.keying.gapDivisor));
}

void Sequencer::bigPauseClick() {
    // Past the next character's echo to its first element.
    gap(2, "-----", product32(state_.keying.TT, state_.keying.letterGapFactor));
}

void Sequencer::gap(std::int64_t lookAheadOffset, const char* caption, std::int64_t intervalMs) {
    const std::int64_t position = state_.kk;
    transmitter_.keyOff();
    lookAhead(position + lookAheadOffset);
    c_.Lbo.setCaption(caption);
    trace(plan_.dfcwShift(), position + 1, "df=");
    c_.Edit4.setText(std::to_string(plan_.dfcwShift()));
    arm(intervalMs);
}

void Sequencer::identification(bool startId) {
    KeyingValues& k = state_.keying;
    k.dfcwShift = 0;
    k.dfcwMode = 1;
    const bool cw = startId ? c_.RBtCWs.checked() : c_.RBtCW.checked();
    const bool qrss3 = startId ? c_.RBtQrss3s.checked() : c_.RBtQrss3.checked();
    if (cw || qrss3) {
        k.TT = cw ? 100 : 3000;
        k.dashFactor = 3;
        k.gapDivisor = 1;
        k.letterGapFactor = 3;
    }
    arm(k.TT);
    // The "," that follows the marker retunes to the unshifted frequency.
    plan_.setDfcwShift(0);
    c_.Memo1.addLine("TT=" + std::to_string(k.TT) + "  " + std::to_string(symbolAt(state_.kk)));
}

void Sequencer::restoreMode() {
    const std::int32_t position = state_.kk;
    state_.keying = state_.savedMode;
    arm(1000);
    lookAhead(static_cast<std::int64_t>(position) + 2);
}

void Sequencer::echo(unsigned char symbol) {
    state_.sentText.push_back(static_cast<char>(symbol));
    c_.LbTextNow.setCaption(state_.sentText);
    arm(1);
}

void Sequencer::greyPanels() {
    c_.PnTX1.setColor(kIdlePanelColor);
    c_.PnTX2.setColor(kIdlePanelColor);
    c_.PnTX3.setColor(kIdlePanelColor);
    c_.PnTX4.setColor(kIdlePanelColor);
}

void Sequencer::endProcessing() {
    c_.Lbo.setCaption("END");
    c_.LbTextNow.setFontColor(kEndedTextColor);
    if (state_.txActive == 1) {
        log_.endRecord();
        if (!c_.ChLoop.checked()) {
            tone_.endTransmission(state_.audioWasPlaying == 0);
            state_.txActive = 0;
            transmitter_.pttOff();
            c_.Label32.show();
        }
    }
    if (!c_.ChLoop.checked())
        greyPanels();
    if (c_.ChLoop.checked()) {
        state_.kk = 1;
        c_.EdTtx.setText(platform::formatLongTime(clock_.now()));
    }
}

void Sequencer::stopTransmission() {
    KeyingValues& k = state_.keying;
    const KeyingValues& saved = state_.savedMode;
    k.TT = saved.TT;
    k.dashFactor = saved.dashFactor;
    k.gapDivisor = saved.gapDivisor;
    k.letterGapFactor = saved.letterGapFactor;
    k.dfcwShift = saved.dfcwShift;
    state_.txActive = 0;
    timer_.setEnabled(false);
    tone_.endTransmission(state_.audioWasPlaying == 0);
    transmitter_.keyOff();
    state_.kk = length() + 1;
    greyPanels();
    stepKeyer();
    transmitter_.pttOff();
    log_.stopRecord();
    c_.Label32.show();
}

void Sequencer::Button4Click() {
    state_.kk = 1;
}

void Sequencer::cwClick() {
    transmitter_.keyOn();
}

void Sequencer::BtPauseClick() {
    transmitter_.keyOff();
}

} // namespace tarvel::keyer
