#include "ui/panels/BeaconMessagesPanel.h"

#include "ui/forms/MainForm.h"

namespace tarvel::ui::panels {

BeaconMessagesPanel::BeaconMessagesPanel(forms::MainForm& form, keyer::BeaconMessages& messages,
                                         keyer::BeaconClock& clock, keyer::Transmission& transmission)
    : texts_{&form.EdTX1, &form.EdTX2, &form.EdTX3, &form.EdTX4}, startPanels_{&form.PnTX1, &form.PnTX2,
                                                                               &form.PnTX3, &form.PnTX4},
      clock_(form.LbTimeNow), messages_(messages), transmission_(transmission) {
    for (int k = 1; k <= keyer::BeaconMessages::kCount; ++k) {
        controls::TextField& text = *texts_[k - 1];
        text.setUpperCase(true);
        messages_.setText(k, text.text());
        text.onChange = [this, k, &text] { messages_.setText(k, text.text()); };
        startPanels_[k - 1]->onClick = [this, k] { startMessage(k); };
    }
    clock_.onClick = [&clock] { clock.tick(); };
    clock.onTime.connect([this](const std::string& now) { clock_.setCaption(now); });
    transmission_.notices.messagesIdle.connect([this] { showIdle(); });
}

void BeaconMessagesPanel::showText(int k, const std::string& text) {
    texts_[k - 1]->setText(text);
}

void BeaconMessagesPanel::startMessage(int k) {
    for (int i = 1; i <= keyer::BeaconMessages::kCount; ++i)
        startPanels_[i - 1]->setColor(i == k ? kRunningMessageColor : kIdleMessageColor);
    transmission_.sendMessage(messages_.text(k));
}

void BeaconMessagesPanel::showIdle() {
    for (controls::Control* panel : startPanels_)
        panel->setColor(kIdleMessageColor);
}

} // namespace tarvel::ui::panels
