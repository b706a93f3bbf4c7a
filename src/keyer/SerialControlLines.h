#pragma once
// ControlLines on a real serial port (QSerialPort opens it, modem-line ioctls drive it). The port is opened
// with HUPCL set, so that the kernel drops both lines at the last close even if the process dies hard.
// Called on the user-interface thread only.
#include "keyer/ControlLines.h"

#include <QSerialPort>
#include <optional>

namespace tarvel::keyer {

class SerialControlLines : public ControlLines {
public:
    SerialControlLines() = default;
    ~SerialControlLines() override { close(); }
    SerialControlLines(const SerialControlLines&) = delete;
    SerialControlLines& operator=(const SerialControlLines&) = delete;

    bool open(const std::string& portName) override;
    OpenRefusal refusal() const override { return refusal_; }
    void setRts(bool on) override;
    void setDtr(bool on) override;
    void close() override;

    struct Levels {
        bool rts = false;
        bool dtr = false;
    };
    // The output levels as the port reports them (a second descriptor would raise both lines again);
    // nullopt when the port is not open or cannot tell.
    std::optional<Levels> readBack() const;

    // Clears both lines of the port that is open, if any, with nothing but one system call: safe in a
    // crash handler, where the program can no longer end its transmission in order.
    static void clearOpenPortLines();
    // The last act of a process that a signal ends: clears both lines as above, then removes the port's
    // lock file if it holds this process's id, so that the port is not locked for the next user. Only
    // async-signal-safe system calls.
    static void abandonOpenPort();

private:
    void explainRefusal(const std::string& portName);

    QSerialPort port_;
    OpenRefusal refusal_;
};

} // namespace tarvel::keyer
