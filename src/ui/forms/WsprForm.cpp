#include "ui/forms/WsprForm.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tarvel::ui::forms {

WsprForm::WsprForm() {
    addWindow(TFormWspr, kDesignWidth + kFrameWidth, kDesignHeight + kFrameHeight);
    TFormWspr.setFrame(kFrameWidth, kFrameHeight);
    styles[TFormWspr].fixedSize = true;

    const std::array<std::pair<controls::Label*, controls::Control*>, 4> rows{{
        {&LbWsprCall, &EdWsprCall},
        {&LbWsprLocator, &EdWsprLocator},
        {&LbWsprPower, &CbWsprPower},
        {&LbWsprTxPercent, &SpWsprTxPercent},
    }};
    const std::array<const char*, 4> names{"WSPR call", "WSPR locator", "WSPR power, dBm",
                                           "WSPR share of frames sent, %"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int top = 8 + 26 * static_cast<int>(i);
        add(*rows[i].first, TFormWspr, 8, top + 4, 110, 13);
        add(*rows[i].second, TFormWspr, 124, top, 100, 21);
        rows[i].second->setAccessibleName(names[i]);
    }
    EdWsprCall.setUpperCase(true);
    EdWsprLocator.setUpperCase(true);
    std::vector<controls::ComboField::Entry> powers;
    for (int dbm = 0; dbm <= 60; dbm += 10)
        for (int last : {0, 3, 7})
            if (dbm + last <= 60)
                powers.push_back({std::to_string(dbm + last), std::to_string(dbm + last)});
    CbWsprPower.setEntries(std::move(powers));
    add(BtWsprTx, TFormWspr, 8, 114, 75, 25);
    add(BtWsprStop, TFormWspr, 90, 114, 75, 25);
    add(LbWsprNext, TFormWspr, 8, 150, 110, 13);
    add(LbWsprNextValue, TFormWspr, 124, 150, 168, 13);
    LbWsprNextValue.setAccessibleName("Next WSPR frame, UTC");
    add(LbWsprSymbol, TFormWspr, 8, 172, 110, 13);
    add(LbWsprSymbolValue, TFormWspr, 124, 172, 168, 13);
    LbWsprSymbolValue.setAccessibleName("WSPR symbol being sent");
}

} // namespace tarvel::ui::forms
