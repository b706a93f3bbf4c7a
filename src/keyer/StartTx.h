#pragma once
// Start TX: sets up one beacon transmission (tone, saved mode, PTT, stored messages), wraps the message
// in EdTX with the identification, compiles it into Ed3, shows the estimate and runs the first step.
// Called on the user-interface thread.
#include "audio/ToneOutput.h"
#include "controls/CheckBox.h"
#include "controls/Memo.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "keyer/EstimateDisplay.h"
#include "keyer/KeyerState.h"
#include "keyer/Sequencer.h"
#include "keyer/TransmitterControl.h"
#include "log/Logbook.h"
#include "platform/Timer.h"
#include "settings/IniFile.h"

namespace tarvel::keyer {

struct StartTxControls {
    controls::Button& BtTX; // "Start TX" (not visible)
    controls::TextField& EdTX;
    controls::TextField& EdTX1;
    controls::TextField& EdTX2;
    controls::TextField& EdTX3;
    controls::TextField& EdTX4;
    controls::CheckBox& ChStart;
    controls::TextField& Ed_id_Start;
    controls::CheckBox& ChStop;
    controls::TextField& Ed_id_End;
    controls::TextField& Ed3;
    controls::Memo& Memo1; // diagnostic trace
    controls::Label& LbTextNow;
    controls::Label& Label32;
    controls::Control& PnTX1;
    controls::Control& PnTX2;
    controls::Control& PnTX3;
    controls::Control& PnTX4;
};

class StartTx {
public:
    // Connects BtTX.
    StartTx(StartTxControls controls, KeyerState& state, audio::ToneOutput& tone,
            TransmitterControl& transmitter, settings::IniFile& settings, log::Logbook& log,
            EstimateDisplay& estimate, Sequencer& sequencer, platform::Timer& Timer1);

    // Start TX. If a step after the PTT went on fails (a settings file that cannot be written), what
    // this start took is given back before the failure reaches the operator: no step will run, the key
    // and PTT lines are off, the tone it started is stopped, and the panels show no running message.
    // The first step runs guarded as every later one: its failure ends the transmission and is shown.
    void startTransmission();

private:
    void prepare();
    void release();

    StartTxControls c_;
    KeyerState& state_;
    audio::ToneOutput& tone_;
    TransmitterControl& transmitter_;
    settings::IniFile& settings_;
    log::Logbook& log_;
    EstimateDisplay& estimate_;
    Sequencer& sequencer_;
    platform::Timer& timer_;
};

} // namespace tarvel::keyer
