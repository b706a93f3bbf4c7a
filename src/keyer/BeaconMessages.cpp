#include "keyer/BeaconMessages.h"

#include "platform/Locale.h"

#include <cstdint>
#include <utility>

namespace tarvel::keyer {

BeaconMessages::BeaconMessages(BeaconControls controls, KeyerState& state, log::Logbook& log,
                               const platform::Clock& clock, platform::Timer& Timer2,
                               platform::MessageSink& sink, BeaconCalls calls)
    : c_(controls), state_(state), log_(log), clock_(clock),
      calls_(std::move(calls)), texts_{&c_.EdTX1, &c_.EdTX2, &c_.EdTX3, &c_.EdTX4}, panels_{&c_.PnTX1,
                                                                                            &c_.PnTX2,
                                                                                            &c_.PnTX3,
                                                                                            &c_.PnTX4} {
    for (int k = 1; k <= 4; ++k) {
        texts_[k - 1]->setUpperCase(true);
        panels_[k - 1]->onClick = [this, k] { startMessage(k); };
    }
    c_.LbTimeNow.onClick = [this] { LbTimeNowClick(); };
    c_.BtText.onClick = [this] { BtTextClick(); };
    // Start-up enables the clock; it runs until exit.
    Timer2.setInterval(kClockIntervalMs);
    Timer2.onTimeout = [this, &sink] { platform::runGuarded(sink, [this] { LbTimeNowClick(); }); };
}

void BeaconMessages::PnTX1Click() {
    startMessage(1);
}
void BeaconMessages::PnTX2Click() {
    startMessage(2);
}
void BeaconMessages::PnTX3Click() {
    startMessage(3);
}
void BeaconMessages::PnTX4Click() {
    startMessage(4);
}

// Starting a message while another runs replaces it: Start TX recompiles from EdTX and begins afresh.
void BeaconMessages::startMessage(int k) {
    state_.txActive = 1;
    for (int i = 1; i <= 4; ++i)
        panels_[i - 1]->setColor(i == k ? kRunningMessageColor : kIdleMessageColor);
    c_.Ed3.setText({});
    const std::string text = texts_[k - 1]->text();
    c_.EdTX.setText(text);
    state_.messageText = text;
    if (calls_.startTransmission)
        calls_.startTransmission();
}

// The day change is recognised from the text alone: a tick that misses the midnight second writes no
// line, two ticks within it write two.
void BeaconMessages::LbTimeNowClick() {
    const std::string now = platform::formatLongTime(clock_.now());
    c_.LbTimeNow.setCaption(now);
    if (now == "0:00:00")
        log_.dayChange();
}

void BeaconMessages::BtTextClick() {
    // Selecting the whole "S" and cutting it leaves the field empty and the letter on the clipboard.
    c_.EdbufTtx.setText("S");
    const std::string selected = c_.EdbufTtx.text();
    c_.EdbufTtx.setText({});
    if (calls_.cutToClipboard)
        calls_.cutToClipboard(selected);
    state_.kk = static_cast<std::int32_t>(static_cast<std::uint32_t>(state_.kk) + 1u);
    if (calls_.sequencerStep)
        calls_.sequencerStep();
}

} // namespace tarvel::keyer
