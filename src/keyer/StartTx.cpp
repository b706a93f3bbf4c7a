#include "keyer/StartTx.h"

#include "keyer/MessageCompiler.h"

#include <string>
#include <vector>

namespace tarvel::keyer {

StartTx::StartTx(StartTxControls controls, KeyerState& state, audio::ToneOutput& tone,
                 TransmitterControl& transmitter, settings::IniFile& settings, log::Logbook& log,
                 EstimateDisplay& estimate, Sequencer& sequencer, platform::Timer& Timer1)
    : c_(controls), state_(state), tone_(tone), transmitter_(transmitter), settings_(settings), log_(log),
      estimate_(estimate), sequencer_(sequencer), timer_(Timer1) {
    c_.BtTX.onClick = [this] { startTransmission(); };
}

void StartTx::startTransmission() {
    state_.sentText.clear();
    c_.LbTextNow.setCaption("");
    state_.kk = 1;
    state_.audioWasPlaying = tone_.playing() ? 1 : 0;
    try {
        // A tone that cannot start ends the start here too: nothing may look as if it were sending.
        if (!tone_.playing())
            tone_.start();
        // Also when the tone already played: the transmission owns it until it ends.
        tone_.holdForTransmission();
        state_.savedMode = state_.keying;
        transmitter_.pttOn();
        prepare();
    } catch (...) {
        release();
        throw;
    }
    sequencer_.guardedStep();
}

void StartTx::prepare() {
    settings_.writeText("TXT1", c_.EdTX1.text());
    settings_.writeText("TXT2", c_.EdTX2.text());
    settings_.writeText("TXT3", c_.EdTX3.text());
    settings_.writeText("TXT4", c_.EdTX4.text());
    log_.refresh();
    c_.Label32.hide();

    c_.EdTX.setText(WrapWithIdentification(c_.EdTX.text(), c_.ChStart.checked(), c_.Ed_id_Start.text(),
                                           c_.ChStop.checked(), c_.Ed_id_End.text()));
    std::vector<std::string> trace;
    c_.Ed3.setText(CompileMessage(c_.EdTX.text(), &trace));
    for (std::string& line : trace)
        c_.Memo1.addLine(std::move(line));

    estimate_.refreshEstimate();
}

void StartTx::release() {
    // A transmission that was running when this start began must not go on with the new kk either.
    timer_.setEnabled(false);
    state_.kk = static_cast<std::int32_t>(c_.Ed3.text().size()) + 1;
    transmitter_.keyOff();
    transmitter_.pttOff();
    tone_.endTransmission(state_.audioWasPlaying == 0);
    state_.txActive = 0;
    for (controls::Control* panel : {&c_.PnTX1, &c_.PnTX2, &c_.PnTX3, &c_.PnTX4})
        panel->setColor(kIdlePanelColor);
    c_.Label32.show();
}

} // namespace tarvel::keyer
