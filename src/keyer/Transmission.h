#pragma once
// One beacon transmission: the compiled element sequence and the position in it, the keying mode and
// identification in force, the loop, and the state on the air. Start TX compiles the message and runs
// the first step; each timeout of the keyer's timer runs the next one. What a step does comes from the
// keyer's plan (keyer/Plan.h) as actions, which this applies to the lines, VFO A, the log and the timer,
// until the transmission ends, repeats or is stopped. Called on the user-interface thread; a timer that
// waits on a thread of its own makes the key edge that opens the next step there, at the deadline.
#include "audio/ToneOutput.h"
#include "freqplan/FrequencyPlan.h"
#include "keyer/BeaconMessages.h"
#include "keyer/Identification.h"
#include "keyer/KeyingValues.h"
#include "keyer/Plan.h"
#include "keyer/TransmitterControl.h"
#include "log/Logbook.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/Notice.h"
#include "platform/Timer.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tarvel::keyer {

// The estimate as the beacon panel shows it: duration "hh:mm:ss", start and end time of day.
struct Estimate {
    std::string duration;
    std::string start;
    std::string end;
};

// What the panels show; each is told after the change it names. The marks and trace lines are the
// panels' to word.
struct TransmissionNotices {
    platform::Notice<Element> elementBegun;       // an element was keyed, or the sequence ended
    platform::Notice<> sentTextChanged;           // sentText()
    platform::Notice<bool> passChanged;           // a pass began (sending) or its sequence is through
    platform::Notice<> messagesIdle;              // no stored message runs
    platform::Notice<bool> manualPttOffered;      // the PTT is the operator's again, or not
    platform::Notice<std::int32_t> gapShiftShown; // the DFCW shift after each gap, 0.01 Hz
    // The diagnostic trace: the DFCW shift in force at an element and the position it stands for; an
    // identification's dot and the symbol after its marker; the compiler's lines.
    platform::Notice<std::int32_t, std::int64_t> shiftTraced;
    platform::Notice<std::int32_t, unsigned char> identificationTraced;
    platform::Notice<std::string> compilerTraced;
    platform::Notice<> sequenceChanged;                  // text() and sequence()
    platform::Notice<> estimateChanged;                  // estimate()
    platform::Notice<platform::LocalTime> loopRestarted; // the next pass starts now
};

class Transmission {
public:
    // Takes the keyer timer's timeout, which runs guardedStep().
    Transmission(platform::Timer& keyerTimer, TransmitterControl& transmitter, freqplan::FrequencyPlan& plan,
                 audio::ToneOutput& tone, log::Logbook& log, const BeaconMessages& messages,
                 const platform::Clock& clock, platform::MessageSink& sink);
    ~Transmission();
    Transmission(const Transmission&) = delete;
    Transmission& operator=(const Transmission&) = delete;

    TransmissionNotices notices;

    // The keying mode. The values are read afresh at every step, so a change takes effect from the next
    // element of a running transmission; the label is quoted in the next start record.
    const KeyingMode& mode() const { return mode_; }
    const KeyingValues& keying() const { return mode_.values; }
    void setMode(KeyingMode mode) { mode_ = std::move(mode); }
    void setKeying(const KeyingValues& values) { mode_.values = values; }
    // The copy taken at Start TX, restored by "^" and Stop TX.
    const KeyingValues& savedMode() const { return savedMode_; }

    // Read at Start TX (texts) and at every step and estimate (speeds).
    Identification& identification() { return id_; }
    const Identification& identification() const { return id_; }

    // A pass that ends starts again from the top while the loop is on.
    void setLoop(bool on) { loop_ = on; }
    bool loop() const { return loop_; }

    // Where the steps come from: the keyer's plan of the sequence, unless a mode with steps of its own is set
    // (an empty source goes back to the plan). Asked at every step, and a wait ahead for VFO A's moves.
    using StepSource = std::function<Actions(PlanState&, const StepConditions&)>;
    void setStepSource(StepSource source) { stepSource_ = std::move(source); }

    // A stored message started from its panel: it replaces any running one, is quoted in the log, and
    // goes to Start TX.
    void sendMessage(const std::string& text);
    // The same for a pass that brings its own element sequence (a WSPR pass): text is what the log quotes;
    // no identification is added.
    void sendPass(const std::string& text, std::string sequence);
    // A pass whose moves must reach the sound card sooner than a wait ahead (a WSPR pass: its symbols begin
    // one second after PTT, and the sound card plays more than a second after the worker writes): VFO A's
    // moves of that sequence go to the tone now, placed from a PTT pttInMs from now on the keyer timer's
    // clock, and the pass that sendPass starts next queues none again. False, and nothing handed, when a
    // word fails (the pass then fails as it runs) or when the tone does not play (the pass starts it and
    // queues its moves itself, a wait ahead).
    bool handPassMovesAhead(const std::string& sequence, std::int64_t pttInMs);
    // Moves handed ahead for a pass that will not be sent: dropped, and VFO A plays its stored word again.
    // The end of the pass lets go of them as of every move, and a start of anything but a pass drops them.
    void dropHandedMoves();
    // Start TX. If a step after the PTT went on fails (a settings file that cannot be written), what
    // this start took is given back before the failure reaches the operator: no step will run, the key
    // and PTT lines are off, the tone it started is stopped, and no stored message runs. The first step
    // runs guarded as every later one: its failure ends the transmission and is shown.
    void start(const std::string& message);

    // One step: the symbol at the position, and the end processing when that was the last one.
    void stepKeyer();
    // One step as the keyer's timer and Start TX run it: a failure inside a transmission's step ends the
    // transmission as Stop TX does (key and PTT low), and only then reaches the operator, whose message
    // box waits for a click; the chain is broken anyway, and the transmitter must not wait with it.
    void guardedStep();
    // A transmission is on: started from a message panel, or a sequence still being stepped through.
    bool onAir() const;
    // Stop TX: the transmission ends at once, key and PTT low, the stop record written.
    void stopTransmission();

    // The expected duration, start and end of the sequence at the present keying values and ID speeds.
    void refreshEstimate();
    const Estimate& estimate() const { return estimate_; }

    // The element actions by hand; each arms the keyer's timer with its duration and moves the position on by
    // one.
    void dot();
    void dash();
    void elementGap();
    void letterGap();
    void openingPause();
    // Back to the first symbol; one symbol further (wrapping as the 32-bit position does).
    void rewind() { position_ = 1; }
    void skipSymbol() { position_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(position_) + 1u); }
    // The key line by hand, without timing: a steady carrier and its end.
    void keyDown();
    void keyUp();

    const std::string& text() const { return text_; }         // the message as compiled, with its IDs
    const std::string& sequence() const { return sequence_; } // the element sequence
    std::int32_t position() const { return position_; }       // 1-based, of the next symbol
    // A sequence to step through by hand from a position, without a message or the tone.
    void setSequence(std::string sequence, std::int32_t position);
    const std::string& sentText() const { return sentText_; } // echoed characters of this pass
    const std::string& messageText() const { return messageText_; }
    bool messageRunning() const { return messageRunning_; } // started from a message panel, not ended
    bool toneWasPlaying() const { return toneWasPlaying_; } // before the last Start TX

private:
    std::int32_t length() const { return static_cast<std::int32_t>(sequence_.size()); }
    void prepare(const std::string& message);
    // The state a step of the plan starts from, and what it reads afresh.
    PlanState planState() const;
    StepConditions conditions() const;
    Actions step(PlanState& state) const;
    void apply(const Actions& actions);
    void apply(const Action& action);
    void element(Element element);
    void arm(std::int64_t intervalMs, std::int32_t positions);
    // Hands the key edge that opens the next step to the timer, to be made at the deadline, and VFO A's
    // moves of that step to the tone, a whole wait ahead: the sound card plays what is written well over a
    // second later.
    void prepareNextStep();
    // VFO A's moves of the step whose deadline is stepNs, to the tone; false, and none queued, when a word
    // fails (the step then fails as it runs).
    bool queueMovesAhead(const Actions& actions, std::int64_t stepNs);
    // Every key operation on this thread: it supersedes an edge the timer made.
    void key(bool down);
    void write(LogRecord record);
    // No step will run, and the position stands past the sequence.
    void haltChain();
    // The one way off the air: key up, PTT down, the tone given back, the record written, the PTT
    // offered to the operator again.
    void takeOffAir(std::optional<LogRecord> record);

    platform::Timer& timer_;
    TransmitterControl& transmitter_;
    freqplan::FrequencyPlan& plan_;
    audio::ToneOutput& tone_;
    log::Logbook& log_;
    const BeaconMessages& messages_;
    const platform::Clock& clock_;
    platform::MessageSink& sink_;

    // The beacon panel's mode label until a preset is chosen.
    KeyingMode mode_{"  CW", {}};
    KeyingValues savedMode_;
    Identification id_;
    bool loop_ = false;
    Estimate estimate_;
    StepSource stepSource_;

    std::string text_;
    std::string sequence_;
    std::int32_t position_ = 1;
    bool messageRunning_ = false;
    bool toneWasPlaying_ = false;
    std::string sentText_;    // Windows-1251
    std::string messageText_; // the message last started from a panel, quoted in the log
    std::string ownSequence_; // the sequence sendPass brings, taken by the start that follows

    // The moves of the step the timer waits for went to the tone when it was armed.
    bool movesQueuedAhead_ = false;
    // Those of the whole pass went to the tone before it started.
    bool movesHanded_ = false;
    // Whether the running step's moves went ahead, and its deadline.
    bool stepMovesQueued_ = false;
    std::int64_t stepInstantNs_ = 0;

    // The edge the timer made at its last deadline, for the step that follows not to make it again.
    enum EdgeMade : int { NoEdge, KeyUpMade, KeyDownMade };
    std::atomic<int> edgeMade_{NoEdge};
};

} // namespace tarvel::keyer
