#pragma once
// The shell's small windows and panels: the help text, "About", and the process priority. Called on the
// user-interface thread.
#include "controls/Memo.h"
#include "controls/RadioButton.h"
#include "controls/Simple.h"
#include "platform/ProcessPriority.h"
#include "settings/IniFile.h"

#include <cstdint>
#include <string>

namespace tarvel::ui::panels {

struct HelpPanelControls {
    controls::MenuItem& Help1;
    controls::Form& TForm4; // the help window
    controls::Memo& Memo1;  // its text
};

class HelpPanel {
public:
    HelpPanel(HelpPanelControls controls, std::string path);

    // Shows the help window with the file's lines; a missing file is created empty. A file that cannot
    // be read throws platform::Failure("I/O error <errno>") with the window shown.
    void Help1Click();

private:
    HelpPanelControls c_;
    std::string path_;
};

struct AboutPanelControls {
    controls::MenuItem& About1;
    controls::Control& GrBoxAbout;
    controls::Button& BitBtn1; // "OK"
};

class AboutPanel {
public:
    explicit AboutPanel(AboutPanelControls controls);

    void BtopenAboutClick();
    void BitBtn1Click();

private:
    AboutPanelControls c_;
};

struct PriorityPanelControls {
    controls::MenuItem& P2;
    controls::Control& PnPrioritet;
    controls::RadioButton& RBPr1;  // "Real Time"
    controls::RadioButton& RBPr2;  // "High"
    controls::RadioButton& RBPr3;  // "Normal"
    controls::Button& BtPrioritet; // "Ok"
};

class PriorityPanel {
public:
    PriorityPanel(PriorityPanelControls controls, platform::ProcessPriority& priority,
                  settings::IniFile& settings);

    // As platform::ProcessPriority numbers it; what the radio buttons chose last.
    std::int32_t choice = platform::ProcessPriority::Normal;

    // Start-up: the stored choice, then its radio button checked (none for a value out of range).
    void restore();
    void showChoice();
    void P2Click();
    // "Ok": hides the panel, applies the choice and stores it.
    void BtPrioritetClick();

private:
    PriorityPanelControls c_;
    platform::ProcessPriority& priority_;
    settings::IniFile& settings_;
};

} // namespace tarvel::ui::panels
