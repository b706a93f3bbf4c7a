#pragma once
// One beacon transmission: the compiled element sequence and the position in it, the keying mode and
// identification in force, the loop, and the state on the air. Start TX compiles the message and runs
// the first step; each timeout of the keyer's timer runs the next one (key line, DFCW retunes, identification
// timing), until the transmission ends, repeats or is stopped. It tells its observers what to show. Called on
// the user-interface thread.
#include "audio/ToneOutput.h"
#include "freqplan/FrequencyPlan.h"
#include "keyer/BeaconMessages.h"
#include "keyer/Identification.h"
#include "keyer/KeyingValues.h"
#include "keyer/TransmitterControl.h"
#include "log/Logbook.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/Timer.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tarvel::keyer {

// The estimate as the beacon panel shows it: duration "hh:mm:ss", start and end time of day.
struct Estimate {
    std::string duration;
    std::string start;
    std::string end;
};

// What the panels show; each is told after the change it names.
struct TransmissionEvents {
    std::function<void(const std::string&)> elementShown;  // "//", "*", "==", "/", "-----", "END"
    std::function<void()> sentTextChanged;                 // sentText()
    std::function<void(bool sending)> passChanged;         // a pass began (true) or ended (false)
    std::function<void()> messagesIdle;                    // no stored message runs
    std::function<void(bool offered)> manualPttOffered;    // the PTT is the operator's again, or not
    std::function<void(std::int32_t hz)> gapShiftShown;    // the DFCW shift after each gap
    std::function<void(const std::string&)> traceLine;     // the diagnostic trace
    std::function<void()> sequenceChanged;                 // text() and sequence()
    std::function<void()> estimateChanged;                 // estimate()
    std::function<void(const std::string&)> loopRestarted; // start time of day of the next pass
};

class Transmission {
public:
    // Takes the keyer timer's timeout, which runs guardedStep().
    Transmission(platform::Timer& keyerTimer, TransmitterControl& transmitter, freqplan::FrequencyPlan& plan,
                 audio::ToneOutput& tone, log::Logbook& log, const BeaconMessages& messages,
                 const platform::Clock& clock, platform::MessageSink& sink);

    TransmissionEvents events;

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

    // A stored message started from its panel: it replaces any running one, is quoted in the log, and
    // goes to Start TX.
    void sendMessage(const std::string& text);
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
    // The symbol at a 1-based position, or 0 beyond the sequence.
    unsigned char symbolAt(std::int64_t position) const;
    void prepare(const std::string& message);
    void release();
    // Performs the symbol at the position; false when it has no action.
    bool perform();
    void arm(std::int64_t intervalMs);
    // A gap: key off, look ahead for DFCW, show and trace it, then wait intervalMs.
    void gap(std::int64_t lookAheadOffset, const char* element, std::int64_t intervalMs);
    void lookAhead(std::int64_t position);
    void startMarker();
    void identification(bool startId);
    void restoreMode();
    void echo(unsigned char symbol);
    void endProcessing();
    void trace(std::int64_t value, std::int64_t position, const char* lead);
    void show(const char* element);
    void sentTextChanged();
    void passChanged(bool sending);
    void messagesIdle();
    void offerManualPtt(bool offered);

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

    std::string text_;
    std::string sequence_;
    std::int32_t position_ = 1;
    bool messageRunning_ = false;
    bool toneWasPlaying_ = false;
    std::string sentText_;    // Windows-1251
    std::string messageText_; // the message last started from a panel, quoted in the log
};

} // namespace tarvel::keyer
