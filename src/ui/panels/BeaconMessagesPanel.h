#pragma once
// The four stored messages with their start panels, and the beacon clock's display. Called on the
// user-interface thread.
#include "keyer/BeaconMessages.h"
#include "keyer/Transmission.h"
#include "ui/controls/Simple.h"
#include "ui/controls/TextField.h"

#include <array>
#include <string>

namespace tarvel::ui::forms {
struct MainForm;
}

namespace tarvel::ui::panels {

constexpr controls::Color kRunningMessageColor = controls::rgb(0, 170, 0);
constexpr controls::Color kIdleMessageColor = controls::rgb(204, 204, 204);

class BeaconMessagesPanel {
public:
    // The texts are typed in upper case and kept as the messages; a click on a panel starts its message,
    // a click on the clock ticks it.
    BeaconMessagesPanel(forms::MainForm& form, keyer::BeaconMessages& messages, keyer::BeaconClock& clock,
                        keyer::Transmission& transmission);

    // Start-up: message k, 1 to 4, shown in its field, which keeps it as the message.
    void showText(int k, const std::string& text);
    // Starts stored message k, 1 to 4: its panel green, the others grey.
    void startMessage(int k);

private:
    void showIdle();

    std::array<controls::TextField*, keyer::BeaconMessages::kCount> texts_;
    std::array<controls::Control*, keyer::BeaconMessages::kCount> startPanels_;
    controls::Label& clock_;
    keyer::BeaconMessages& messages_;
    keyer::Transmission& transmission_;
};

} // namespace tarvel::ui::panels
