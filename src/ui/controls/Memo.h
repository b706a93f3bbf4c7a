#pragma once
// A multi-line text box holding lines of Windows-1251 text.
#include "ui/controls/Control.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvel::ui::controls {

enum class MemoScrollBars { None, Horizontal, Vertical, Both };

class Memo : public Control {
public:
    using Control::Control;
    // Design options of the box: a read-only box takes no typing; a horizontal bar means no word wrap.
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on) {
        readOnly_ = on;
        changed();
    }
    MemoScrollBars scrollBars() const { return scrollBars_; }
    void setScrollBars(MemoScrollBars bars) {
        scrollBars_ = bars;
        changed();
    }
    const std::vector<std::string>& lines() const { return lines_; }
    void setLines(std::vector<std::string> lines);
    void addLine(std::string line);
    void clear() { setLines({}); }
    // The operator edited the box.
    void edited(std::vector<std::string> lines) {
        lines_ = std::move(lines);
        ++generation_;
    }

    // A box whose last line stays last, as the log window's empty line after the file's final line end:
    // added lines go in before it.
    void setKeepsLastLine(bool on) { keepsLastLine_ = on; }
    bool keepsLastLine() const { return keepsLastLine_; }

    // A box that only collects lines (a trace) keeps the newest maxLines to twice that many, so a
    // transmission running for days neither fills the memory nor slows the window down. 0: no limit.
    void setMaxLines(std::size_t maxLines) { maxLines_ = maxLines; }
    std::size_t maxLines() const { return maxLines_; }
    // Changes whenever lines are replaced or dropped, not when a line is added at the end, so a view can
    // append what is new instead of showing everything again.
    std::uint64_t generation() const { return generation_; }

private:
    std::vector<std::string> lines_;
    std::uint64_t generation_ = 0;
    std::size_t maxLines_ = 0;
    bool readOnly_ = false;
    bool keepsLastLine_ = false;
    MemoScrollBars scrollBars_ = MemoScrollBars::None;
};

} // namespace tarvel::ui::controls
