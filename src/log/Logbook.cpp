#include "log/Logbook.h"

namespace tarvel::log {

void Logbook::toggle() {
    on_ = !on_;
    onSwitchShown();
    switched(on_);
    if (on_) {
        file_.writeHeaderLine();
        onLineAdded();
    }
}

void Logbook::startupHeader() {
    if (on_)
        file_.writeHeaderLine();
}

void Logbook::dayChange() {
    onSwitchShown();
    if (on_) {
        file_.writeDayChangeLine();
        onLineAdded();
    }
}

void Logbook::startRecord(std::string_view mode, std::string_view duration, std::string_view messageText,
                          std::int32_t coarseHz, std::int32_t fine) {
    if (on_ && file_.writeStartRecord(mode, duration, messageText, coarseHz, fine))
        onLineAdded();
}

void Logbook::endRecord() {
    if (on_ && file_.writeEndRecord())
        onLineAdded();
}

void Logbook::stopRecord() {
    if (on_ && file_.writeStopRecord())
        onLineAdded();
}

void Logbook::refresh() {
    onCatchUp();
}

} // namespace tarvel::log
