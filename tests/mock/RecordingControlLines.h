#pragma once
// Records what the keyer does to the transmitter's control lines: the open attempt and every RTS/DTR
// operation with the time of an injected clock, so scenario tests can check edges and their times.
#include "keyer/ControlLines.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tarvel::mock {

class RecordingControlLines : public keyer::ControlLines {
public:
    enum class Line { Rts, Dtr };
    struct Operation {
        Line line;
        bool on;
        std::int64_t timeMs;
        bool operator==(const Operation&) const = default;
    };

    // clock: the time stamped on each operation (for example VirtualTime::nowMs); none stamps 0.
    explicit RecordingControlLines(std::function<std::int64_t()> clock = {}) : clock_(std::move(clock)) {}

    bool open(const std::string& portName) override {
        openAttempts.push_back(portName);
        if (openSucceeds) {
            // A real port comes out of the open with both outputs cleared.
            rts = false;
            dtr = false;
        }
        return openSucceeds;
    }
    keyer::OpenRefusal refusal() const override { return refusalGiven; }
    void setRts(bool on) override { record(Line::Rts, on, rts); }
    void setDtr(bool on) override { record(Line::Dtr, on, dtr); }
    void close() override {
        if (closed || openAttempts.empty() || !openSucceeds)
            return;
        record(Line::Rts, false, rts);
        record(Line::Dtr, false, dtr);
        closed = true;
    }

    // Only the operations that changed a line's level.
    std::vector<Operation> edges() const {
        std::vector<Operation> out;
        bool level[2] = {false, false};
        for (const Operation& op : operations) {
            bool& l = level[op.line == Line::Rts ? 0 : 1];
            if (op.on != l)
                out.push_back(op);
            l = op.on;
        }
        return out;
    }

    bool openSucceeds = true;
    keyer::OpenRefusal refusalGiven; // why a failed open failed
    bool closed = false;             // the port was let go, both lines cleared first
    std::vector<std::string> openAttempts;
    std::vector<Operation> operations; // every set or clear, in call order
    bool rts = false;                  // current levels
    bool dtr = false;

private:
    void record(Line line, bool on, bool& level) {
        operations.push_back({line, on, clock_ ? clock_() : 0});
        level = on;
    }
    std::function<std::int64_t()> clock_;
};

} // namespace tarvel::mock
