#pragma once
// The WSPR-2 window as data: call, locator, power and the share of frames sent, "TX" and "Stop TX", the
// next frame in UTC and the symbol being sent.
#include "ui/controls/ComboField.h"
#include "ui/controls/Simple.h"
#include "ui/controls/SpinField.h"
#include "ui/controls/TextField.h"
#include "ui/forms/Inventory.h"

namespace tarvel::ui::forms {

struct WsprForm : Inventory {
    WsprForm();

    static constexpr int kDesignWidth = 300;
    static constexpr int kDesignHeight = 196;
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 27;

    controls::Form TFormWspr{"TFormWspr", "WSPR"};
    controls::Label LbWsprCall{"LbWsprCall", "Call"};
    controls::TextField EdWsprCall{"EdWsprCall"};
    controls::Label LbWsprLocator{"LbWsprLocator", "Locator"};
    controls::TextField EdWsprLocator{"EdWsprLocator"};
    controls::Label LbWsprPower{"LbWsprPower", "Power, dBm"};
    controls::ComboField CbWsprPower{"CbWsprPower", "37"};
    controls::Label LbWsprTxPercent{"LbWsprTxPercent", "TX % of frames"};
    controls::SpinField SpWsprTxPercent{"SpWsprTxPercent", 0, 100, 10, 20};
    controls::Button BtWsprTx{"BtWsprTx", "TX"};
    controls::Button BtWsprStop{"BtWsprStop", "Stop TX"};
    controls::Label LbWsprNext{"LbWsprNext", "Next frame:"};
    controls::Label LbWsprNextValue{"LbWsprNextValue", "-"};
    controls::Label LbWsprSymbol{"LbWsprSymbol", "Symbol:"};
    controls::Label LbWsprSymbolValue{"LbWsprSymbolValue", "-"};
};

} // namespace tarvel::ui::forms
