#include "ui/panels/ShellPanels.h"

#include "platform/Failure.h"
#include "platform/SafeFile.h"
#include "settings/Keys.h"
#include "ui/panels/TonePanel.h"

#include <cerrno>
#include <unistd.h>

namespace tarvel::ui::panels {
namespace {

// The lines as a text stream gives them: split at LF, a CR before it dropped, no line after a final LF.
platform::Failure ioFailure(int error, const std::string& path) {
    return platform::Failure("I/O error " + std::to_string(error) + ": " + path);
}

std::vector<std::string> readLines(int fd, const std::string& path) {
    std::string content;
    const int err = platform::readAll(fd, content);
    ::close(fd);
    if (err != 0)
        throw ioFailure(err, path);
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

HelpPanel::HelpPanel(forms::MainForm& form, forms::HelpForm& window, std::string path)
    : window_(window.TForm4), text_(window.Memo1), path_(std::move(path)) {
    form.Help1.onClick = [this] { showWindow(); };
}

void HelpPanel::showWindow() {
    window_.show();
    int fd = platform::openFile(path_, platform::FileAccess::Read);
    if (fd == -ENOENT) {
        // Created empty when missing; a folder that refuses it just leaves the window empty.
        fd = platform::openFile(path_, platform::FileAccess::Append);
        if (fd >= 0)
            ::close(fd);
        text_.setLines({});
        return;
    }
    if (fd < 0)
        throw ioFailure(-fd, path_);
    text_.setLines(readLines(fd, path_));
}

AboutPanel::AboutPanel(forms::MainForm& form, const audio::ToneOutput& tone)
    : box_(form.GrBoxAbout), underruns_(form.LbAboutUnderruns), tone_(tone) {
    form.About1.onClick = [this] {
        showUnderruns();
        box_.show();
    };
    form.BitBtn1.onClick = [this] { box_.hide(); };
}

void AboutPanel::showUnderruns() {
    underruns_.setCaption(underrunsText(tone_));
}

PriorityPanel::PriorityPanel(forms::MainForm& form, platform::ProcessPriority& priority,
                             const settings::IniFile& settings)
    : panel_(form.PnPrioritet), realTime_(form.RBPr1), high_(form.RBPr2), normal_(form.RBPr3),
      priority_(priority), settings_(settings) {
    form.P2.onClick = [this] { panel_.show(); };
    form.BtPrioritet.onClick = [this] { applyChoice(); };
    realTime_.onClick = [this] { choice = platform::ProcessPriority::RealTime; };
    high_.onClick = [this] { choice = platform::ProcessPriority::High; };
    normal_.onClick = [this] { choice = platform::ProcessPriority::Normal; };
}

void PriorityPanel::showChoice() {
    if (choice == platform::ProcessPriority::RealTime)
        realTime_.setChecked(true);
    else if (choice == platform::ProcessPriority::High)
        high_.setChecked(true);
    else if (choice == platform::ProcessPriority::Normal)
        normal_.setChecked(true);
}

void PriorityPanel::applyChoice() {
    panel_.hide();
    priority_.apply(choice);
    applied(choice);
}

} // namespace tarvel::ui::panels
