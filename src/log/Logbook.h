#pragma once
// The logging switch and the records the keyer and the clock ask for, written to the activity log while
// logging is on. Whoever shows the log follows it through the notices below. Called on the user-interface
// thread.
#include "log/ActivityLog.h"
#include "platform/Notice.h"

#include <cstdint>
#include <string_view>

namespace tarvel::log {

class Logbook {
public:
    explicit Logbook(ActivityLog& file) : file_(file) {}

    ActivityLog& file() { return file_; }
    bool on() const { return on_; }
    // As start-up finds it: nothing is stored or written.
    void setOn(bool on) { on_ = on; }

    // The operator's toggle: flips the switch, shows it, tells it to be stored (switched), and writes the
    // header line when switching on.
    void toggle();
    // Start-up: the header line when logging is on, and no notice (nothing shows the log yet).
    void startupHeader();
    // The clock's midnight tick: the switch shown again, and the day-change line when logging is on.
    void dayChange();
    // The keyer's records, written only when logging is on; a file that cannot be opened costs only the
    // record.
    void startRecord(std::string_view mode, std::string_view duration, std::string_view messageText,
                     std::int32_t coarseHz, std::int32_t fine);
    void endRecord();
    void stopRecord();
    // The keyer is about to transmit: a shown log catches up with the file, which costs nothing that
    // grows with the log when nothing changed.
    void refresh();

    // The switch is to be shown again.
    platform::Notice<> onSwitchShown;
    // The file got a line: file().lastAppended() has it.
    platform::Notice<> onLineAdded;
    // A shown log should catch up with the file.
    platform::Notice<> onCatchUp;
    // The operator turned logging on (true) or off.
    platform::Notice<bool> switched;

private:
    ActivityLog& file_;
    bool on_ = false;
};

} // namespace tarvel::log
