#pragma once
// The keying sequencer: executes the element sequence in Ed3 one symbol per Timer1 step (key line, DFCW
// retunes, identification timing, progress display), ends or repeats the transmission, and carries
// Stop TX. Called on the user-interface thread.
#include "audio/ToneOutput.h"
#include "controls/CheckBox.h"
#include "controls/Memo.h"
#include "controls/RadioButton.h"
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "controls/TextField.h"
#include "freqplan/FrequencyPlan.h"
#include "keyer/KeyerState.h"
#include "keyer/TransmitterControl.h"
#include "log/Logbook.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/Timer.h"

#include <cstdint>

namespace tarvel::keyer {

// Text colour of the sent text while a pass runs, and once it has ended.
constexpr controls::Color kSendingTextColor = controls::rgb(0xF4, 0x40, 0x02); // 147700
constexpr controls::Color kEndedTextColor = controls::rgb(0xC1, 0xB6, 0x06);   // 440001
// The message panels when no message runs.
constexpr controls::Color kIdlePanelColor = controls::rgb(0xCC, 0xCC, 0xCC); // 13421772

struct SequencerControls {
    controls::TextField& Ed3;   // the element sequence
    controls::Memo& Memo1;      // diagnostic trace
    controls::TextField& Edit4; // df after each gap
    controls::Label& Lbo;       // element display
    controls::Label& LbTextNow; // text sent so far
    controls::Label& Lbmode;    // quoted in the start record
    controls::Label& LbTTX;     // quoted in the start record
    controls::TextField& EdTtx; // start time of a new pass
    controls::CheckBox& ChLoop;
    controls::Control& PnTX1;
    controls::Control& PnTX2;
    controls::Control& PnTX3;
    controls::Control& PnTX4;
    controls::Label& Label32; // manual PTT switch, shown when the transmission lets go of the PTT
    // Identification speeds.
    controls::RadioButton& RBtCWs;
    controls::RadioButton& RBtQrss3s;
    controls::RadioButton& RBtCW;
    controls::RadioButton& RBtQrss3;
    controls::Button& BtStopTX;
    // Diagnostic panel.
    controls::Button& dot;
    controls::Button& dash;
    controls::Button& lPause;
    controls::Button& bigPause;
    controls::Button& btStP;
    controls::Button& BtPause;
    controls::Button& Button3;
    controls::Button& Button4;
    controls::Button& cw;
};

class Sequencer {
public:
    // Connects the buttons and Timer1's timeout, which runs guardedStep().
    Sequencer(SequencerControls controls, KeyerState& state, platform::Timer& Timer1,
              TransmitterControl& transmitter, freqplan::FrequencyPlan& plan, audio::ToneOutput& tone,
              log::Logbook& log, const platform::Clock& clock, platform::MessageSink& sink);

    // One step: the symbol at kk, and the end processing when that was the last one.
    void stepKeyer();
    // One step as Timer1 and Start TX run it: a failure inside a transmission's step ends the
    // transmission as Stop TX does (key and PTT low), and only then reaches the operator, whose message
    // box waits for a click; the chain is broken anyway, and the transmitter must not wait with it.
    void guardedStep();
    // A transmission is on: started from a message panel, or a sequence still being stepped through.
    bool onAir() const;
    // Stop TX: the transmission ends at once, key and PTT low, the stop record written.
    void stopTransmission();

    // The element actions; each arms Timer1 with its duration and moves kk on by one.
    void dotClick();
    void dashClick();
    void lPauseClick();   // element gap
    void bigPauseClick(); // letter gap
    void btStPClick();    // opening pause
    void Button4Click();  // kk := 1
    // The key line by hand, without timing: a steady carrier and its end.
    void cwClick();
    void BtPauseClick();

private:
    std::int32_t length() const;
    // The symbol at a 1-based position, or 0 beyond the sequence.
    unsigned char symbolAt(std::int64_t position) const;
    // Performs the symbol at kk; false when it has no action.
    bool perform();
    void arm(std::int64_t intervalMs);
    // A gap: key off, look ahead for DFCW, show and trace it, then wait intervalMs.
    void gap(std::int64_t lookAheadOffset, const char* caption, std::int64_t intervalMs);
    void lookAhead(std::int64_t position);
    void startMarker();
    void identification(bool startId);
    void restoreMode();
    void echo(unsigned char symbol);
    void endProcessing();
    void greyPanels();
    void trace(std::int64_t value, std::int64_t position, const char* lead);

    SequencerControls c_;
    KeyerState& state_;
    platform::Timer& timer_;
    TransmitterControl& transmitter_;
    freqplan::FrequencyPlan& plan_;
    audio::ToneOutput& tone_;
    log::Logbook& log_;
    const platform::Clock& clock_;
    platform::MessageSink& sink_;
};

} // namespace tarvel::keyer
