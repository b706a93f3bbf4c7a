#pragma once
// The transmitter's two modem control outputs (RTS and DTR) of one serial port; no data is ever sent.
// Called on the user-interface thread only.
#include <string>

namespace tarvel::keyer {

// Why an open failed, as far as the port can tell.
struct OpenRefusal {
    // Another process's lock file kept the port: its path and process id, in words; "" when not.
    std::string lockedBy;
    // The system's error number and its words; 0 and "" when unknown.
    int systemError = 0;
    std::string systemReason;
};

class ControlLines {
public:
    virtual ~ControlLines() = default;
    // Opens the port (a device path, UTF-8) and leaves both outputs cleared; false when it cannot be
    // opened. Called at most once per run.
    virtual bool open(const std::string& portName) = 0;
    // After an open that failed: why.
    virtual OpenRefusal refusal() const { return {}; }
    // Set or clear one output; nothing happens when the port is not open. Failures are not reported.
    virtual void setRts(bool on) = 0;
    virtual void setDtr(bool on) = 0;
    // Clears both outputs, then lets go of the port; nothing happens when it is not open. The program's
    // last word to the transmitter: it must not rely on the port's hang-up on close to drop them.
    virtual void close() = 0;
};

} // namespace tarvel::keyer
