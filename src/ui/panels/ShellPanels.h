#pragma once
// The shell's small windows and panels: the help text, "About", and the process priority. Called on the
// user-interface thread.
#include "audio/ToneOutput.h"
#include "platform/Notice.h"
#include "platform/ProcessPriority.h"
#include "settings/IniFile.h"
#include "ui/controls/Memo.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/Simple.h"
#include "ui/forms/HelpForm.h"
#include "ui/forms/MainForm.h"

#include <cstdint>
#include <string>

namespace tarvel::ui::panels {

class HelpPanel {
public:
    HelpPanel(forms::MainForm& form, forms::HelpForm& window, std::string path);

private:
    // Shows the help window with the file's lines; a missing file is created empty. A file that cannot
    // be read throws platform::Failure("I/O error <errno>: <path>") with the window shown.
    void showWindow();

    controls::Form& window_;
    controls::Memo& text_;
    std::string path_;
};

class AboutPanel {
public:
    AboutPanel(forms::MainForm& form, const audio::ToneOutput& tone);

    // The latest stream's underruns, shown when the box opens and kept current by the caller's tick.
    void showUnderruns();

private:
    controls::Control& box_;
    controls::Label& underruns_;
    const audio::ToneOutput& tone_;
};

class PriorityPanel {
public:
    PriorityPanel(forms::MainForm& form, platform::ProcessPriority& priority,
                  const settings::IniFile& settings);

    // As platform::ProcessPriority numbers it; what the radio buttons chose last.
    std::int32_t choice = platform::ProcessPriority::Normal;

    // Start-up: the stored choice's radio button checked (none for a value out of range).
    void showChoice();
    // "Ok": hides the panel, applies the choice and tells it to be stored (applied).
    void applyChoice();
    platform::Notice<std::int32_t> applied;

private:
    controls::Control& panel_;
    controls::RadioButton& realTime_;
    controls::RadioButton& high_;
    controls::RadioButton& normal_;
    platform::ProcessPriority& priority_;
    const settings::IniFile& settings_;
};

} // namespace tarvel::ui::panels
