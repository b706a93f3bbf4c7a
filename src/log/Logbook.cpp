#include "log/Logbook.h"

#include "settings/Keys.h"

namespace tarvel::log {

Logbook::Logbook(ActivityLog& file, settings::IniFile& settings) : file_(file), settings_(settings) {}

void Logbook::toggle() {
    on_ = !on_;
    notify(onSwitchShown);
    settings_.write(settings::keys::logging, on_ ? 1 : 0);
    if (on_) {
        file_.writeHeaderLine();
        notify(onLineAdded);
    }
}

void Logbook::startupHeader() {
    if (on_)
        file_.writeHeaderLine();
}

void Logbook::dayChange() {
    notify(onSwitchShown);
    if (on_) {
        file_.writeDayChangeLine();
        notify(onLineAdded);
    }
}

void Logbook::startRecord(std::string_view mode, std::string_view duration, std::string_view messageText,
                          std::int32_t coarseHz, std::int32_t fine) {
    if (on_ && file_.writeStartRecord(mode, duration, messageText, coarseHz, fine))
        notify(onLineAdded);
}

void Logbook::endRecord() {
    if (on_ && file_.writeEndRecord())
        notify(onLineAdded);
}

void Logbook::stopRecord() {
    if (on_ && file_.writeStopRecord())
        notify(onLineAdded);
}

void Logbook::refresh() {
    notify(onCatchUp);
}

} // namespace tarvel::log
