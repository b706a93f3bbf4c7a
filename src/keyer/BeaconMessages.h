#pragma once
// The four stored beacon messages with their start panels, the clock that ticks on Timer2 and marks each
// new day in the activity log, and the diagnostic "BtText" action. Called on the user-interface thread.
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "keyer/KeyerState.h"
#include "log/Logbook.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/Timer.h"

#include <array>
#include <functional>
#include <string>

namespace tarvel::keyer {

constexpr controls::Color kRunningMessageColor = controls::rgb(0, 170, 0);
constexpr controls::Color kIdleMessageColor = controls::rgb(204, 204, 204);

struct BeaconControls {
    controls::TextField& EdTX1;
    controls::TextField& EdTX2;
    controls::TextField& EdTX3;
    controls::TextField& EdTX4;
    controls::Control& PnTX1;
    controls::Control& PnTX2;
    controls::Control& PnTX3;
    controls::Control& PnTX4;
    controls::TextField& Ed3;  // the element sequence
    controls::TextField& EdTX; // the message about to be compiled
    controls::Label& LbTimeNow;
    controls::Button& BtText;
    controls::TextField& EdbufTtx;
};

// What the messages and the clock call in the rest of the program.
struct BeaconCalls {
    std::function<void()> startTransmission;         // Start TX
    std::function<void()> sequencerStep;             // one keyer step
    std::function<void(std::string)> cutToClipboard; // Windows-1251 text
};

class BeaconMessages {
public:
    // Connects the handlers: the panels, the clock label, BtText, and Timer2's tick (a failure there is
    // shown and the clock goes on with the next tick).
    BeaconMessages(BeaconControls controls, KeyerState& state, log::Logbook& log,
                   const platform::Clock& clock, platform::Timer& Timer2, platform::MessageSink& sink,
                   BeaconCalls calls);

    void PnTX1Click();
    void PnTX2Click();
    void PnTX3Click();
    void PnTX4Click();
    // Starts stored message k, 1 to 4.
    void startMessage(int k);

    // The clock tick: the time of day, and at "0:00:00" the log's day change.
    void LbTimeNowClick();

    void BtTextClick();

    static constexpr int kClockIntervalMs = 1000;

private:
    BeaconControls c_;
    KeyerState& state_;
    log::Logbook& log_;
    const platform::Clock& clock_;
    BeaconCalls calls_;
    std::array<controls::TextField*, 4> texts_;
    std::array<controls::Control*, 4> panels_;
};

} // namespace tarvel::keyer
