#include "ui/panels/WsprPanel.h"

#include "platform/Cp1251.h"
#include "platform/Failure.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace tarvel::ui::panels {
namespace {

std::string utcTimeOfDay(std::int64_t utcMs) {
    const std::int64_t s = (utcMs / 1000) % 86'400;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d UTC", static_cast<int>(s / 3600),
                  static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
    return text;
}

} // namespace

WsprPanel::WsprPanel(forms::MainForm& main, forms::WsprForm& form, keyer::WsprBeacon& beacon,
                     keyer::Transmission& transmission, std::function<std::int64_t()> nowUtcMs,
                     std::function<void()> openPort)
    : form_(form), beacon_(beacon), transmission_(transmission), nowUtcMs_(std::move(nowUtcMs)),
      openPort_(std::move(openPort)) {
    main.Wspr1.onClick = [this] { form_.TFormWspr.show(); };
    form_.BtWsprTx.onClick = [this] { txClick(); };
    form_.BtWsprStop.onClick = [this] { stopClick(); };
    beacon_.changed.connect([this] { tick(); });
}

void WsprPanel::showValues(const keyer::WsprValues& values) {
    form_.EdWsprCall.setText(platform::utf8ToCp1251(values.call));
    form_.EdWsprLocator.setText(platform::utf8ToCp1251(values.locator));
    form_.CbWsprPower.setText(std::to_string(values.powerDbm));
    form_.SpWsprTxPercent.setValue(values.txPercent);
    beacon_.load(values);
}

void WsprPanel::txClick() {
    const std::string powerText = platform::cp1251ToUtf8(form_.CbWsprPower.text());
    int power = 0;
    const auto [end, error] = std::from_chars(powerText.data(), powerText.data() + powerText.size(), power);
    if (error != std::errc() || end != powerText.data() + powerText.size())
        throw platform::Failure("WSPR: '" + powerText + "' is not a power in dBm");
    beacon_.arm({platform::cp1251ToUtf8(form_.EdWsprCall.text()),
                 platform::cp1251ToUtf8(form_.EdWsprLocator.text()), power, form_.SpWsprTxPercent.value()});
    // Armed only with a port to key: a port that fails to open leaves nothing armed.
    try {
        openPort_();
    } catch (...) {
        beacon_.disarm();
        throw;
    }
}

void WsprPanel::stopClick() {
    beacon_.disarm();
    if (transmission_.onAir())
        transmission_.stopTransmission();
}

void WsprPanel::tick() {
    const auto next = beacon_.nextFrameUtcMs();
    form_.LbWsprNextValue.setCaption(next ? utcTimeOfDay(*next) : "-");
    const auto symbol = beacon_.symbolAt(nowUtcMs_());
    form_.LbWsprSymbolValue.setCaption(
        symbol ? std::to_string(symbol->index + 1) + " of 162: " + std::to_string(symbol->value) : "-");
}

} // namespace tarvel::ui::panels
