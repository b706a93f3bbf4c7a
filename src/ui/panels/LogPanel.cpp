#include "ui/panels/LogPanel.h"

namespace tarvel::ui::panels {

LogPanel::LogPanel(forms::MainForm& form, forms::LogForm& window, log::Logbook& logbook)
    : switch_(form.Log2), window_(window.TForm2), text_(window.Memo1), logbook_(logbook),
      file_(logbook.file()) {
    switch_.onClick = [this] { logbook_.toggle(); };
    form.Log1.onClick = [this] { showWindow(); };
    window.Save1.onClick = [this] { save(); };
    // The file's lines and then one empty line: new lines go in before it, as a reload would put them.
    text_.setKeepsLastLine(true);
    logbook_.onSwitchShown.connect([this] { showSwitch(); });
    logbook_.onLineAdded.connect([this] { lineAdded(); });
    logbook_.onCatchUp.connect([this] { catchUp(); });
}

void LogPanel::showSwitch() {
    switch_.setCaption(logbook_.on() ? "Log  On" : "Log Off");
}

void LogPanel::showWindow() {
    window_.show();
    load();
}

void LogPanel::save() {
    file_.save(text_.lines());
}

void LogPanel::load() {
    log::ActivityLog::Extent read;
    shown_.reset();
    auto lines = file_.readLines(&read, &shownEndsLine_);
    lines.emplace_back();
    text_.setLines(std::move(lines));
    if (read != log::ActivityLog::Extent{}) // set only when the file could be read
        shown_ = read;
    shownGeneration_ = text_.generation();
}

bool LogPanel::showsFile(const std::optional<log::ActivityLog::Extent>& file) const {
    // The operator's edits in the window are not the file.
    return shown_ && file && *shown_ == *file && text_.generation() == shownGeneration_;
}

void LogPanel::catchUp() {
    if (window_.visible() && !showsFile(file_.extent()))
        load();
}

void LogPanel::lineAdded() {
    if (!window_.visible())
        return;
    const auto& added = file_.lastAppended();
    // After a last line without its end the new text joins that line, which a reload shows best.
    if (added && shownEndsLine_ && showsFile(added->before)) {
        text_.addLine(added->line);
        shown_->size += added->bytes;
    } else {
        load();
    }
}

} // namespace tarvel::ui::panels
