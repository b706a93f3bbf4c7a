#pragma once
// A multi-line text box holding lines of Windows-1251 text.
#include "controls/Control.h"

#include <string>
#include <vector>

namespace tarvel::controls {

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
    void edited(std::vector<std::string> lines) { lines_ = std::move(lines); }

private:
    std::vector<std::string> lines_;
    bool readOnly_ = false;
    MemoScrollBars scrollBars_ = MemoScrollBars::None;
};

} // namespace tarvel::controls
