#pragma once
// The logging switch and the log window: the flag `log`, the "Setup" menu item that toggles it, the
// window that shows "vfolog.txt", and the records the keyer and the clock ask for. Called on the
// user-interface thread.
#include "controls/Memo.h"
#include "controls/Simple.h"
#include "log/ActivityLog.h"
#include "settings/IniFile.h"

#include <cstdint>
#include <string_view>

namespace tarvel::log {

struct LogControls {
    controls::MenuItem& Log2; // "Log Off" / "Log  On"
    controls::Form& TForm2;   // the log window
    controls::Memo& Memo1;    // the log window's text
};

class LogControl {
public:
    LogControl(LogControls controls, ActivityLog& file, settings::IniFile& settings);

    // 1 = on, anything else off.
    std::int32_t log = 0;

    // The menu toggle: flips the flag, names the new state, stores it, and writes the header line when
    // switching on.
    void Log2Click();
    // "  Log  ": shows the log window, freshly loaded.
    void Log1Click();
    // The log window's "Save": its lines replace the file.
    void Save1Click();
    // Loads the window from the file, with one empty line after the last.
    void refresh();
    // Log2's caption from the flag.
    void showState();

    // Start-up: the header line when logging is on, without a refresh (the window does not exist yet).
    void startupHeader();
    // The clock's midnight tick: the caption again, and the day-change line when logging is on.
    void dayChange();
    // The keyer's records, written only when logging is on; a file that cannot be opened costs only the
    // record.
    void startRecord(std::string_view mode, std::string_view duration, std::string_view messageText,
                     std::int32_t coarseHz, std::int32_t fine);
    void endRecord();
    void stopRecord();

private:
    bool on() const { return log == 1; }

    LogControls c_;
    ActivityLog& file_;
    settings::IniFile& settings_;
};

} // namespace tarvel::log
