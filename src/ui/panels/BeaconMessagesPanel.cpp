#include "ui/panels/BeaconMessagesPanel.h"

namespace tarvel::ui::panels {

BeaconMessagesPanel::BeaconMessagesPanel(BeaconMessagesPanelControls controls,
                                         keyer::BeaconMessages& messages, keyer::BeaconClock& clock,
                                         keyer::Transmission& transmission)
    : c_(controls), messages_(messages), transmission_(transmission) {
    for (int k = 1; k <= keyer::BeaconMessages::kCount; ++k) {
        controls::TextField& text = *c_.texts[k - 1];
        text.setUpperCase(true);
        messages_.setText(k, text.text());
        text.onChange = [this, k, &text] { messages_.setText(k, text.text()); };
        c_.startPanels[k - 1]->onClick = [this, k] { startMessage(k); };
    }
    c_.LbTimeNow.onClick = [&clock] { clock.tick(); };
    clock.onTime = [this](const std::string& now) { c_.LbTimeNow.setCaption(now); };
    transmission_.events.messagesIdle = [this] { showIdle(); };
}

void BeaconMessagesPanel::startMessage(int k) {
    for (int i = 1; i <= keyer::BeaconMessages::kCount; ++i)
        c_.startPanels[i - 1]->setColor(i == k ? kRunningMessageColor : kIdleMessageColor);
    transmission_.sendMessage(messages_.text(k));
}

void BeaconMessagesPanel::showIdle() {
    for (controls::Control* panel : c_.startPanels)
        panel->setColor(kIdleMessageColor);
}

} // namespace tarvel::ui::panels
