#include "ui/panels/ShellPanels.h"

#include "platform/Failure.h"
#include "platform/SafeFile.h"
#include "settings/Keys.h"

#include <cerrno>
#include <unistd.h>

namespace tarvel::ui::panels {
namespace {

// The lines as a text stream gives them: split at LF, a CR before it dropped, no line after a final LF.
std::vector<std::string> readLines(int fd) {
    std::string content;
    const int err = platform::readAll(fd, content);
    ::close(fd);
    if (err != 0)
        throw platform::Failure("I/O error " + std::to_string(err));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

HelpPanel::HelpPanel(HelpPanelControls controls, std::string path) : c_(controls), path_(std::move(path)) {
    c_.Help1.onClick = [this] { Help1Click(); };
}

void HelpPanel::Help1Click() {
    c_.TForm4.show();
    int fd = platform::openFile(path_, platform::FileAccess::Read);
    if (fd == -ENOENT) {
        // Created empty when missing; a folder that refuses it just leaves the window empty.
        fd = platform::openFile(path_, platform::FileAccess::Append);
        if (fd >= 0)
            ::close(fd);
        c_.Memo1.setLines({});
        return;
    }
    if (fd < 0)
        throw platform::Failure("I/O error " + std::to_string(-fd));
    c_.Memo1.setLines(readLines(fd));
}

AboutPanel::AboutPanel(AboutPanelControls controls) : c_(controls) {
    c_.About1.onClick = [this] { BtopenAboutClick(); };
    c_.BitBtn1.onClick = [this] { BitBtn1Click(); };
}

void AboutPanel::BtopenAboutClick() {
    c_.GrBoxAbout.show();
}

void AboutPanel::BitBtn1Click() {
    c_.GrBoxAbout.hide();
}

PriorityPanel::PriorityPanel(PriorityPanelControls controls, platform::ProcessPriority& priority,
                             settings::IniFile& settings)
    : c_(controls), priority_(priority), settings_(settings) {
    c_.P2.onClick = [this] { P2Click(); };
    c_.BtPrioritet.onClick = [this] { BtPrioritetClick(); };
    c_.RBPr1.onClick = [this] { choice = platform::ProcessPriority::RealTime; };
    c_.RBPr2.onClick = [this] { choice = platform::ProcessPriority::High; };
    c_.RBPr3.onClick = [this] { choice = platform::ProcessPriority::Normal; };
}

void PriorityPanel::restore() {
    choice = settings_.read(settings::keys::priority);
}

void PriorityPanel::showChoice() {
    if (choice == platform::ProcessPriority::RealTime)
        c_.RBPr1.setChecked(true);
    else if (choice == platform::ProcessPriority::High)
        c_.RBPr2.setChecked(true);
    else if (choice == platform::ProcessPriority::Normal)
        c_.RBPr3.setChecked(true);
}

void PriorityPanel::P2Click() {
    c_.PnPrioritet.show();
}

void PriorityPanel::BtPrioritetClick() {
    c_.PnPrioritet.hide();
    priority_.apply(choice);
    settings_.write(settings::keys::priority, choice);
}

} // namespace tarvel::ui::panels
