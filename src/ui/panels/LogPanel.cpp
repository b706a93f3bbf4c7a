#include "ui/panels/LogPanel.h"

namespace tarvel::ui::panels {

LogPanel::LogPanel(LogPanelControls controls, log::Logbook& logbook)
    : c_(controls), logbook_(logbook), file_(logbook.file()) {
    c_.Log2.onClick = [this] { Log2Click(); };
    c_.Log1.onClick = [this] { Log1Click(); };
    c_.Save1.onClick = [this] { Save1Click(); };
    // The file's lines and then one empty line: new lines go in before it, as a reload would put them.
    c_.Memo1.setKeepsLastLine(true);
    logbook_.onSwitchShown = [this] { showSwitch(); };
    logbook_.onLineAdded = [this] { lineAdded(); };
    logbook_.onCatchUp = [this] { catchUp(); };
}

void LogPanel::showSwitch() {
    c_.Log2.setCaption(logbook_.on() ? "Log  On" : "Log Off");
}

void LogPanel::Log2Click() {
    logbook_.toggle();
}

void LogPanel::Log1Click() {
    c_.TForm2.show();
    load();
}

void LogPanel::Save1Click() {
    file_.save(c_.Memo1.lines());
}

void LogPanel::load() {
    log::ActivityLog::Extent read;
    shown_.reset();
    auto lines = file_.readLines(&read, &shownEndsLine_);
    lines.emplace_back();
    c_.Memo1.setLines(std::move(lines));
    if (read != log::ActivityLog::Extent{}) // set only when the file could be read
        shown_ = read;
    shownGeneration_ = c_.Memo1.generation();
}

bool LogPanel::showsFile(const std::optional<log::ActivityLog::Extent>& file) const {
    // The operator's edits in the window are not the file.
    return shown_ && file && *shown_ == *file && c_.Memo1.generation() == shownGeneration_;
}

void LogPanel::catchUp() {
    if (c_.TForm2.visible() && !showsFile(file_.extent()))
        load();
}

void LogPanel::lineAdded() {
    if (!c_.TForm2.visible())
        return;
    const auto& added = file_.lastAppended();
    // After a last line without its end the new text joins that line, which a reload shows best.
    if (added && shownEndsLine_ && showsFile(added->before)) {
        c_.Memo1.addLine(added->line);
        shown_->size += added->bytes;
    } else {
        load();
    }
}

} // namespace tarvel::ui::panels
