#pragma once
// A port that could not be opened: "Unable to open <port>", with another process's lock file named after
// it, as the window shows it; the command line adds the system's reason.
#include "keyer/ControlLines.h"
#include "platform/Failure.h"

#include <string>

namespace tarvel::keyer {

class PortOpenFailure : public platform::Failure {
public:
    PortOpenFailure(const std::string& portName, OpenRefusal refusal);

    const OpenRefusal& refusal() const { return refusal_; }
    // The text with the system's reason after it, and where that is a refused permission, what to do about
    // it.
    std::string withSystemReason() const;

private:
    OpenRefusal refusal_;
};

} // namespace tarvel::keyer
