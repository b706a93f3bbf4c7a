#pragma once
// The logging switch's menu item and the log window, bound to the logbook. A hidden window is never
// read; a shown one that still holds the file as it was loaded takes just each new line, so a long log
// costs a record no more than a short one. Called on the user-interface thread.
#include "log/Logbook.h"
#include "ui/controls/Memo.h"
#include "ui/controls/Simple.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"

#include <optional>

namespace tarvel::ui::panels {

class LogPanel {
public:
    // Connects the controls and follows the logbook.
    LogPanel(forms::MainForm& form, forms::LogForm& window, log::Logbook& logbook);

    // The switch's caption from the switch.
    void showSwitch();

private:
    // Shows the log window, loaded from the file: its lines and one empty line after the last.
    void showWindow();
    // The window's lines replace the file.
    void save();
    void load();
    void lineAdded();
    void catchUp();
    bool showsFile(const std::optional<log::ActivityLog::Extent>& file) const;

    controls::MenuItem& switch_; // "Log Off" / "Log  On"
    controls::Form& window_;
    controls::Memo& text_;
    log::Logbook& logbook_;
    log::ActivityLog& file_;
    // What the window was loaded with: the part of the file its lines hold, and the text's generation then.
    std::optional<log::ActivityLog::Extent> shown_;
    bool shownEndsLine_ = false;
    std::uint64_t shownGeneration_ = 0;
};

} // namespace tarvel::ui::panels
