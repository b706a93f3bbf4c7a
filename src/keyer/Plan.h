#pragma once
// The keyer's plan: what each step of a transmission does, as typed actions, worked out from the element
// sequence, the keying values in force, Start TX's copy of them and the identification speeds. It touches
// no device and no timer: the transmission applies the actions, and the estimate walks them.
#include "keyer/KeyingValues.h"
#include "keyer/TransmissionEstimate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarvel::keyer {

// What the transmission panel shows while an element is on, and at the end of a sequence.
// Symbols: a WSPR pass's carrier, its 162 symbols moving VFO A.
enum class Element { OpeningPause, Dot, Dash, ElementGap, LetterGap, Symbols, End };

// The activity log's records of a transmission.
enum class LogRecord { Start, End, Stop };

namespace action {
struct Key {
    bool down = false;
};
// VFO A's DFCW shift, 0.01 Hz below the controls; takes effect at the next retune.
struct SetDfcwShift {
    std::int32_t centiHz = 0;
};
// VFO A retuned to its controls and the shift in force, fromMs after the step began (today always at once).
struct RetuneVfoA {
    std::int64_t fromMs = 0;
};
// VFO A moved to its controls' frequency plus rfOffsetHz at RF (the plan's formula: divided by the factor at
// the sound card), without a phase jump, fromNs after the step's deadline. The FSK modes move the carrier
// while the key is down, so the move must land on the sample of its instant.
struct ShiftVfoA {
    std::int64_t fromNs = 0;
    double rfOffsetHz = 0;
};
struct Log {
    LogRecord record = LogRecord::Start;
};
struct Show {
    Element element = Element::OpeningPause;
};
// A pass begins (true) or its sequence is through (false).
struct Pass {
    bool sending = false;
};
// The echoed characters of the pass start afresh, or one more was sent.
struct ClearSentText {};
struct CharacterSent {
    char symbol = 0;
};
// The DFCW shift in force at an element, for the diagnostic trace; gap: also shown beside the gap buttons.
struct ShiftTraced {
    std::int32_t centiHz = 0;
    std::int64_t position = 0;
    bool gap = false;
};
// The keying values switch, from now on: to an identification's (unitMs and the symbol it starts with are
// traced) or back to Start TX's copy.
struct SwitchValues {
    KeyingValues values;
};
struct IdentificationBegun {
    std::int32_t unitMs = 0;
    unsigned char nextSymbol = 0;
};
// How the estimate takes a step's estimatedMs: added to its double total, added in extended precision
// and then narrowed (element gaps, a real division), or as the total so far (the opening pause).
enum class Counted { Adds, AddsExtended, StartsAt };
// The timer runs ms before the next step; the position moves on by positions (one symbol, or a WSPR pass's
// marker and all its symbols). estimatedMs is what the estimate counts for the step: it times a pass at the
// values of its start, an identification changing only the dot, and leaves out the pauses of the markers
// and echoes.
struct Wait {
    std::int64_t ms = 0;
    long double estimatedMs = 0;
    Counted counted = Counted::Adds;
    std::int32_t positions = 1;
};
// The transmission is over: key, PTT and the tone are let go.
struct EndTransmission {};
// No stored message runs.
struct MessagesIdle {};
// The loop sends the sequence again from its first symbol.
struct Restart {};
} // namespace action

using Action =
    std::variant<action::Key, action::SetDfcwShift, action::RetuneVfoA, action::ShiftVfoA, action::Log,
                 action::Show, action::Pass, action::ClearSentText, action::CharacterSent,
                 action::ShiftTraced, action::SwitchValues, action::IdentificationBegun, action::Wait,
                 action::EndTransmission, action::MessagesIdle, action::Restart>;
using Actions = std::vector<Action>;

// What a step reads and moves on: the 1-based position of the next symbol, the values in force, Start TX's
// copy of them, and VFO A's DFCW shift; for the estimate, the dot it counts with.
struct PlanState {
    std::int32_t position = 1;
    KeyingValues values;
    KeyingValues saved;
    std::int32_t dfcwShift = 0;
    std::int32_t estimateUnitMs = 0;
};

// What else a step reads afresh.
struct StepConditions {
    IdSpeeds idSpeeds;
    bool loop = false;
    bool fromMessage = false; // a message started from its panel runs
    bool estimating = false;  // the waits carry what the estimate counts; 0 otherwise
};

class KeyerPlan {
public:
    explicit KeyerPlan(std::string_view sequence) : sequence_(sequence) {}

    // The next step: the symbol at the position, and the end of the sequence when that was the last one.
    // An empty list: the position holds nothing to perform, and the chain stops there.
    Actions step(PlanState& state, const StepConditions& conditions) const;

    // One element at the position, whatever symbol stands there: the steps' parts and the operator's
    // element buttons.
    Actions element(Element element, PlanState& state, bool estimating = false) const;

    // The end of the sequence: shown, logged, and the transmission let go or restarted.
    Actions end(PlanState& state, const StepConditions& conditions) const;

    std::int32_t length() const { return static_cast<std::int32_t>(sequence_.size()); }
    // The symbol at a 1-based position, or 0 beyond the sequence.
    unsigned char symbolAt(std::int64_t position) const;

private:
    void lookAhead(Actions& actions, PlanState& state, std::int64_t position) const;
    void gap(Actions& actions, PlanState& state, Element element, std::int64_t lookAheadOffset,
             std::int64_t ms, long double estimatedMs) const;
    void wait(Actions& actions, PlanState& state, std::int64_t ms, long double estimatedMs,
              action::Counted counted = action::Counted::Adds, std::int32_t positions = 1) const;
    void wsprSymbols(Actions& actions, PlanState& state) const;
    bool wsprPass() const;
    void identification(Actions& actions, PlanState& state, bool startId, const IdSpeeds& speeds) const;
    void restoreMode(Actions& actions, PlanState& state) const;

    std::string_view sequence_;
};

} // namespace tarvel::keyer
