#include "log/LogControl.h"

namespace tarvel::log {

LogControl::LogControl(LogControls controls, ActivityLog& file, settings::IniFile& settings)
    : c_(controls), file_(file), settings_(settings) {
    c_.Log2.onClick = [this] { Log2Click(); };
    // The file's lines and then one empty line: new lines go in before it, as a reload would put them.
    c_.Memo1.setKeepsLastLine(true);
}

void LogControl::showState() {
    c_.Log2.setCaption(on() ? "Log  On" : "Log Off");
}

void LogControl::Log2Click() {
    log = on() ? 0 : 1;
    showState();
    settings_.writeInteger("log", log);
    if (on()) {
        file_.writeHeaderLine();
        lineAdded();
    }
}

void LogControl::Log1Click() {
    c_.TForm2.show();
    load();
}

void LogControl::load() {
    ActivityLog::Extent read;
    shown_.reset();
    auto lines = file_.readLines(&read, &shownEndsLine_);
    lines.emplace_back();
    c_.Memo1.setLines(std::move(lines));
    if (read != ActivityLog::Extent{}) // set only when the file could be read
        shown_ = read;
    shownGeneration_ = c_.Memo1.generation();
}

bool LogControl::showsFile(const std::optional<ActivityLog::Extent>& file) const {
    // The operator's edits in the window are not the file.
    return shown_ && file && *shown_ == *file && c_.Memo1.generation() == shownGeneration_;
}

void LogControl::refresh() {
    if (c_.TForm2.visible() && !showsFile(file_.extent()))
        load();
}

void LogControl::lineAdded() {
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

void LogControl::Save1Click() {
    file_.save(c_.Memo1.lines());
}

void LogControl::startupHeader() {
    if (on())
        file_.writeHeaderLine();
}

void LogControl::dayChange() {
    showState();
    if (on()) {
        file_.writeDayChangeLine();
        lineAdded();
    }
}

void LogControl::startRecord(std::string_view mode, std::string_view duration, std::string_view messageText,
                             std::int32_t coarseHz, std::int32_t fine) {
    if (on() && file_.writeStartRecord(mode, duration, messageText, coarseHz, fine))
        lineAdded();
}

void LogControl::endRecord() {
    if (on() && file_.writeEndRecord())
        lineAdded();
}

void LogControl::stopRecord() {
    if (on() && file_.writeStopRecord())
        lineAdded();
}

} // namespace tarvel::log
