#include "ui/controls/Memo.h"

namespace tarvel::ui::controls {

void Memo::setLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    ++generation_;
    changed();
}

void Memo::addLine(std::string line) {
    if (keepsLastLine_ && !lines_.empty())
        lines_.insert(lines_.end() - 1, std::move(line));
    else
        lines_.push_back(std::move(line));
    if (maxLines_ != 0 && lines_.size() > 2 * maxLines_) {
        lines_.erase(lines_.begin(), lines_.end() - static_cast<std::ptrdiff_t>(maxLines_));
        ++generation_;
    }
    changed();
}

} // namespace tarvel::ui::controls
