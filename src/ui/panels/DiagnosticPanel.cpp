#include "ui/panels/DiagnosticPanel.h"

#include "ui/forms/MainForm.h"

namespace tarvel::ui::panels {

DiagnosticPanel::DiagnosticPanel(forms::MainForm& form, keyer::Transmission& transmission,
                                 std::function<void(const std::string&)> cutToClipboard)
    : clipboardBuffer_(form.EdbufTtx), compiledText_(form.EdTX), sequence_(form.Ed3), gapShift_(form.Edit4),
      trace_(form.Memo1), transmission_(transmission), cutToClipboard_(std::move(cutToClipboard)) {
    // The trace collects lines for as long as beacons run.
    trace_.setMaxLines(2000);
    keyer::Transmission& t = transmission_;
    form.dot.onClick = [&t] { t.dot(); };
    form.dash.onClick = [&t] { t.dash(); };
    form.lPause.onClick = [&t] { t.elementGap(); };
    form.bigPause.onClick = [&t] { t.letterGap(); };
    form.btStP.onClick = [&t] { t.openingPause(); };
    form.BtPause.onClick = [&t] { t.keyUp(); };
    form.Button3.onClick = [&t] { t.stepKeyer(); };
    form.Button4.onClick = [&t] { t.rewind(); };
    form.cw.onClick = [&t] { t.keyDown(); };
    form.BtText.onClick = [this] { cutLetterAndStep(); };
    form.BtTX.onClick = [this] { transmission_.start(compiledText_.text()); };
    t.notices.sequenceChanged.connect([this] {
        compiledText_.setText(transmission_.text());
        sequence_.setText(transmission_.sequence());
    });
    t.notices.gapShiftShown.connect([this](std::int32_t hz) { gapShift_.setText(std::to_string(hz)); });
    t.notices.shiftTraced.connect([this](std::int32_t centiHz, std::int64_t position) {
        trace_.addLine("df=" + std::to_string(centiHz) + "  " + std::to_string(position));
    });
    t.notices.identificationTraced.connect([this](std::int32_t unitMs, unsigned char nextSymbol) {
        trace_.addLine("TT=" + std::to_string(unitMs) + "  " + std::to_string(nextSymbol));
    });
    t.notices.compilerTraced.connect([this](const std::string& line) { trace_.addLine(line); });
}

void DiagnosticPanel::cutLetterAndStep() {
    // Selecting the whole "S" and cutting it leaves the field empty and the letter on the clipboard.
    clipboardBuffer_.setText("S");
    const std::string selected = clipboardBuffer_.text();
    clipboardBuffer_.setText({});
    if (cutToClipboard_)
        cutToClipboard_(selected);
    transmission_.skipSymbol();
    transmission_.stepKeyer();
}

} // namespace tarvel::ui::panels
