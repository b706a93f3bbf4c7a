#pragma once
// The logging switch and the log window: the flag `log`, the "Setup" menu item that toggles it, the
// window that shows "vfolog.txt", and the records the keyer and the clock ask for. Called on the
// user-interface thread.
#include "controls/Memo.h"
#include "controls/Simple.h"
#include "log/ActivityLog.h"
#include "settings/IniFile.h"

#include <cstdint>
#include <optional>
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
    // "  Log  ": shows the log window, loaded from the file: its lines and one empty line after the last.
    void Log1Click();
    // The log window's "Save": its lines replace the file.
    void Save1Click();
    // Brings a shown log window up to date with the file. It costs nothing that grows with the log when
    // the window is hidden (showing it loads it) or already up to date, so the keyer may call it before
    // every transmission.
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
    void load();
    // The file got a line: a shown window that is up to date takes just that line, so a long log costs a
    // record no more than a short one.
    void lineAdded();
    bool showsFile(const std::optional<ActivityLog::Extent>& file) const;

    LogControls c_;
    ActivityLog& file_;
    settings::IniFile& settings_;
    // What the window was loaded with: its lines as they were then, and the part of the file they hold.
    std::optional<ActivityLog::Extent> shown_;
    bool shownEndsLine_ = false;
    std::uint64_t shownGeneration_ = 0;
};

} // namespace tarvel::log
