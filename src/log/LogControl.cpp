#include "log/LogControl.h"

namespace tarvel::log {

LogControl::LogControl(LogControls controls, ActivityLog& file, settings::IniFile& settings)
    : c_(controls), file_(file), settings_(settings) {
    c_.Log2.onClick = [this] { Log2Click(); };
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
        refresh();
    }
}

void LogControl::Log1Click() {
    c_.TForm2.show();
    refresh();
}

void LogControl::refresh() {
    auto lines = file_.readLines();
    lines.emplace_back();
    c_.Memo1.setLines(std::move(lines));
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
        refresh();
    }
}

void LogControl::startRecord(std::string_view mode, std::string_view duration, std::string_view messageText,
                             std::int32_t coarseHz, std::int32_t fine) {
    if (on() && file_.writeStartRecord(mode, duration, messageText, coarseHz, fine))
        refresh();
}

void LogControl::endRecord() {
    if (on() && file_.writeEndRecord())
        refresh();
}

void LogControl::stopRecord() {
    if (on() && file_.writeStopRecord())
        refresh();
}

} // namespace tarvel::log
