#include "keyer/PortOpenFailure.h"

#include <cerrno>
#include <utility>

namespace tarvel::keyer {

PortOpenFailure::PortOpenFailure(const std::string& portName, OpenRefusal refusal)
    : platform::Failure("Unable to open " + portName +
                        (refusal.lockedBy.empty() ? "" : ": " + refusal.lockedBy)),
      refusal_(std::move(refusal)) {}

std::string PortOpenFailure::withSystemReason() const {
    if (!refusal_.lockedBy.empty() || refusal_.systemReason.empty())
        return what();
    std::string text = std::string(what()) + ": " + refusal_.systemReason;
    if (refusal_.systemError == EACCES || refusal_.systemError == EPERM)
        text += " (serial ports belong to the group dialout: sudo adduser $USER dialout, then log in again)";
    return text;
}

} // namespace tarvel::keyer
