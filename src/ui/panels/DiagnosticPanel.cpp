#include "ui/panels/DiagnosticPanel.h"

namespace tarvel::ui::panels {

DiagnosticPanel::DiagnosticPanel(DiagnosticPanelControls controls, keyer::Transmission& transmission,
                                 std::function<void(const std::string&)> cutToClipboard)
    : c_(controls), transmission_(transmission), cutToClipboard_(std::move(cutToClipboard)) {
    keyer::Transmission& t = transmission_;
    c_.dot.onClick = [&t] { t.dot(); };
    c_.dash.onClick = [&t] { t.dash(); };
    c_.lPause.onClick = [&t] { t.elementGap(); };
    c_.bigPause.onClick = [&t] { t.letterGap(); };
    c_.btStP.onClick = [&t] { t.openingPause(); };
    c_.BtPause.onClick = [&t] { t.keyUp(); };
    c_.Button3.onClick = [&t] { t.stepKeyer(); };
    c_.Button4.onClick = [&t] { t.rewind(); };
    c_.cw.onClick = [&t] { t.keyDown(); };
    c_.BtText.onClick = [this] { BtTextClick(); };
    c_.BtTX.onClick = [this] { transmission_.start(c_.EdTX.text()); };
    t.events.sequenceChanged = [this] {
        c_.EdTX.setText(transmission_.text());
        c_.Ed3.setText(transmission_.sequence());
    };
    t.events.gapShiftShown = [this](std::int32_t hz) { c_.Edit4.setText(std::to_string(hz)); };
    t.events.traceLine = [this](const std::string& line) { c_.Memo1.addLine(line); };
}

void DiagnosticPanel::BtTextClick() {
    // Selecting the whole "S" and cutting it leaves the field empty and the letter on the clipboard.
    c_.EdbufTtx.setText("S");
    const std::string selected = c_.EdbufTtx.text();
    c_.EdbufTtx.setText({});
    if (cutToClipboard_)
        cutToClipboard_(selected);
    transmission_.skipSymbol();
    transmission_.stepKeyer();
}

} // namespace tarvel::ui::panels
