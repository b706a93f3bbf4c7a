#include "controls/Memo.h"

namespace tarvel::controls {

void Memo::setLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    changed();
}

void Memo::addLine(std::string line) {
    lines_.push_back(std::move(line));
    changed();
}

} // namespace tarvel::controls
