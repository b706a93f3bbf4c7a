#include "keyer/Plan.h"

#include "keyer/MorseTable.h"
#include "keyer/WsprPass.h"

namespace tarvel::keyer {
namespace {

// Products of the keying values are 32-bit on the timer, as they always were: widen, then narrow.
std::int32_t product32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(a) * b);
}

// The estimate takes them in 64 bits: the factors are small, but a wrapped product would be nonsense.
long double product64(std::int32_t a, std::int32_t b) {
    return static_cast<long double>(std::int64_t{a} * b);
}

// A character that heads its own code string is echoed to the display; the markers are not characters.
bool isEcho(unsigned char symbol) {
    if (symbol == '>' || symbol == '#' || symbol == '^')
        return false;
    const auto code = MorseTable::lookup(static_cast<char>(symbol));
    return code && !code->empty() && static_cast<unsigned char>(code->front()) == symbol;
}

constexpr std::int32_t kCwIdUnit = 100;
constexpr std::int32_t kQrss3IdUnit = 3000;
constexpr std::int64_t kOpeningPauseMs = 1000;
constexpr std::int64_t kModeRestoredMs = 1000;
constexpr std::int64_t kEchoMs = 1;

bool fskcw(const PlanState& state) {
    return state.values.dfcwMode == DfcwMode::Fskcw;
}

// FSKCW's gaps: the carrier stays on, the shift below VFO A.
action::ShiftVfoA spaceTone(const PlanState& state) {
    return {0, -static_cast<double>(state.values.dfcwShift) / 100.0};
}

} // namespace

unsigned char KeyerPlan::symbolAt(std::int64_t position) const {
    if (position < 1 || position > length())
        return 0;
    return static_cast<unsigned char>(sequence_[static_cast<std::size_t>(position - 1)]);
}

Actions KeyerPlan::step(PlanState& state, const StepConditions& conditions) const {
    Actions actions;
    if (state.position >= 1 && state.position <= length()) {
        const unsigned char symbol = symbolAt(state.position);
        switch (symbol) {
        case '<':
            actions = {action::ClearSentText{}, action::Pass{true}, action::Log{LogRecord::Start}};
            for (Action& a : element(Element::OpeningPause, state, conditions.estimating))
                actions.push_back(std::move(a));
            break;
        case '*':
            actions = element(Element::Dot, state, conditions.estimating);
            break;
        case '-':
            actions = element(Element::Dash, state, conditions.estimating);
            break;
        case ',':
            actions = element(Element::ElementGap, state, conditions.estimating);
            break;
        case '=':
            actions = element(Element::LetterGap, state, conditions.estimating);
            break;
        case '>':
        case '#':
            identification(actions, state, symbol == '>', conditions.idSpeeds);
            break;
        case wsprpass::kSymbolsMarker:
            if (!wsprPass())
                return actions;
            wsprSymbols(actions, state);
            break;
        case wsprpass::kCarrierEnd:
            if (!wsprPass())
                return actions;
            actions.push_back(action::Key{false});
            wait(actions, state, 0, 0);
            break;
        case '^':
            restoreMode(actions, state);
            break;
        default:
            if (!isEcho(symbol))
                return actions; // nothing the compiler produces: the chain stops where it is
            actions.push_back(action::CharacterSent{static_cast<char>(symbol)});
            wait(actions, state, kEchoMs, 0);
            break;
        }
    }
    if (state.position > length())
        for (Action& a : end(state, conditions))
            actions.push_back(std::move(a));
    return actions;
}

Actions KeyerPlan::element(Element element, PlanState& state, bool estimating) const {
    Actions actions;
    const KeyingValues& k = state.values;
    // The estimate times the values of the pass's start; an identification replaces only their dot.
    const KeyingValues& e = state.saved;
    const std::int32_t unit = state.estimateUnitMs;
    switch (element) {
    case Element::OpeningPause:
        actions.push_back(action::Key{false});
        // Position 3 holds the first element of the first character.
        lookAhead(actions, state, 3);
        actions.push_back(action::Show{Element::OpeningPause});
        // A WSPR pass counts its own pause: its symbols start one second after PTT, whatever the dot.
        wait(actions, state, kOpeningPauseMs,
             estimating ? (wsprPass() ? static_cast<long double>(kOpeningPauseMs) : e.dotMs) : 0,
             action::Counted::StartsAt);
        break;
    case Element::Dot:
    case Element::Dash: {
        const bool dot = element == Element::Dot;
        actions.push_back(action::Key{true});
        if (fskcw(state))
            actions.push_back(action::ShiftVfoA{0, 0.0});
        actions.push_back(action::Show{element});
        actions.push_back(action::ShiftTraced{state.dfcwShift, state.position, false});
        if (dot)
            wait(actions, state, k.dotMs, estimating ? unit : 0);
        else
            wait(actions, state, product32(k.dotMs, k.dashFactor),
                 estimating ? product64(unit, e.dashFactor) : 0);
        break;
    }
    case Element::ElementGap: {
        const std::int64_t ms = ElementGapMilliseconds(k.dotMs, k.gapDivisor);
        gap(actions, state, element, 1, ms, estimating ? ElementGapExact(unit, e.gapDivisor) : 0);
        break;
    }
    case Element::LetterGap:
        // Past the next character's echo to its first element.
        gap(actions, state, element, 2, product32(k.dotMs, k.letterGapFactor),
            estimating ? product64(unit, e.letterGapFactor) : 0);
        break;
    case Element::Symbols:
        wsprSymbols(actions, state);
        break;
    case Element::End:
        actions.push_back(action::Show{Element::End});
        break;
    }
    return actions;
}

Actions KeyerPlan::end(PlanState& state, const StepConditions& conditions) const {
    Actions actions{action::Show{Element::End}, action::Pass{false}};
    if (conditions.fromMessage) {
        actions.push_back(action::Log{LogRecord::End});
        if (!conditions.loop)
            actions.push_back(action::EndTransmission{});
    }
    if (conditions.loop) {
        state.position = 1;
        actions.push_back(action::Restart{});
    } else {
        actions.push_back(action::MessagesIdle{});
    }
    return actions;
}

void KeyerPlan::lookAhead(Actions& actions, PlanState& state, std::int64_t position) const {
    if (state.values.dfcwMode != DfcwMode::Dfcw)
        return;
    const unsigned char next = symbolAt(position);
    if (next == '*' || next == '-') {
        state.dfcwShift = next == '*' ? state.values.dfcwShift : 0;
        actions.push_back(action::SetDfcwShift{state.dfcwShift});
    }
    // Retuned even when df stayed, so VFO A always matches the controls at each gap.
    actions.push_back(action::RetuneVfoA{});
}

void KeyerPlan::gap(Actions& actions, PlanState& state, Element element, std::int64_t lookAheadOffset,
                    std::int64_t ms, long double estimatedMs) const {
    const std::int64_t position = state.position;
    // In FSKCW the carrier stays on through the gaps, shifted, up to the last symbol: the end drops key
    // and PTT together.
    const bool shifted = fskcw(state) && position < length();
    if (shifted)
        actions.push_back(spaceTone(state));
    else
        actions.push_back(action::Key{false});
    lookAhead(actions, state, position + lookAheadOffset);
    actions.push_back(action::Show{element});
    actions.push_back(
        action::ShiftTraced{shifted ? state.values.dfcwShift : state.dfcwShift, position + 1, true});
    wait(actions, state, ms, estimatedMs,
         element == Element::ElementGap ? action::Counted::AddsExtended : action::Counted::Adds);
}

void KeyerPlan::wait(Actions& actions, PlanState& state, std::int64_t ms, long double estimatedMs,
                     action::Counted counted, std::int32_t positions) const {
    actions.push_back(action::Wait{ms, estimatedMs, counted, positions});
    // The position is 32-bit and wraps as it always did.
    state.position = static_cast<std::int32_t>(static_cast<std::uint32_t>(state.position) +
                                               static_cast<std::uint32_t>(positions));
}

bool KeyerPlan::wsprPass() const {
    if (length() != wspr::kSymbolCount + 3 || symbolAt(2) != wsprpass::kSymbolsMarker ||
        symbolAt(length()) != wsprpass::kCarrierEnd)
        return false;
    for (int k = 0; k < wspr::kSymbolCount; ++k)
        if (const unsigned char digit = symbolAt(3 + k); digit < '0' || digit > '3')
            return false;
    return true;
}

void KeyerPlan::wsprSymbols(Actions& actions, PlanState& state) const {
    actions.push_back(action::Key{true});
    actions.push_back(action::Show{Element::Symbols});
    for (int k = 0; k < wspr::kSymbolCount; ++k) {
        const unsigned char digit = symbolAt(state.position + 1 + k);
        actions.push_back(action::ShiftVfoA{
            wsprpass::symbolStartNs(k), wsprpass::symbolOffsetHz(static_cast<std::uint8_t>(digit - '0'))});
    }
    // Past the marker and the symbols, to the carrier's end.
    wait(actions, state, wsprpass::kSymbolsMs, static_cast<long double>(wsprpass::kSymbolsMs),
         action::Counted::Adds, wspr::kSymbolCount + 1);
}

void KeyerPlan::identification(Actions& actions, PlanState& state, bool startId,
                               const IdSpeeds& speeds) const {
    KeyingValues& k = state.values;
    // An FSKCW carrier ends before the identification, which is keyed on and off on VFO A.
    if (k.dfcwMode == DfcwMode::Fskcw) {
        actions.push_back(action::Key{false});
        actions.push_back(action::ShiftVfoA{0, 0.0});
    }
    k.dfcwShift = 0;
    k.dfcwMode = DfcwMode::Dfcw;
    const bool cw = startId ? speeds.startCw : speeds.endCw;
    const bool qrss3 = startId ? speeds.startQrss3 : speeds.endQrss3;
    // With both buttons checked the keyer sends at the CW speed and the estimate counts the QRSS3 one.
    if (qrss3)
        state.estimateUnitMs = kQrss3IdUnit;
    else if (cw)
        state.estimateUnitMs = kCwIdUnit;
    if (cw || qrss3) {
        k.dotMs = cw ? kCwIdUnit : kQrss3IdUnit;
        k.dashFactor = 3;
        k.gapDivisor = 1;
        k.letterGapFactor = 3;
    }
    actions.push_back(action::SwitchValues{k});
    wait(actions, state, k.dotMs, 0);
    // The "," that follows the marker retunes to the unshifted frequency.
    state.dfcwShift = 0;
    actions.push_back(action::SetDfcwShift{0});
    actions.push_back(action::IdentificationBegun{k.dotMs, symbolAt(state.position)});
}

void KeyerPlan::restoreMode(Actions& actions, PlanState& state) const {
    const std::int64_t position = state.position;
    state.values = state.saved;
    state.estimateUnitMs = state.saved.dotMs;
    actions.push_back(action::SwitchValues{state.values});
    wait(actions, state, kModeRestoredMs, 0);
    lookAhead(actions, state, position + 2);
}

} // namespace tarvel::keyer
