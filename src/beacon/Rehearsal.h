#pragma once
// What the beacon will send, worked out before anything is keyed: the message chosen on the command line,
// the station set up for it, and its passes walked on the keyer's plan, their waits summed on the beacon's
// schedule. The pass's length refuses a frame too short for it, and its edges are what --dry-run prints.
#include "audio/ToneSource.h"
#include "beacon/Options.h"
#include "beacon/Station.h"
#include "keyer/Wspr.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvel::beacon {

// The text to send, Windows-1251 in upper case as the message fields hold it, or why there is none.
struct MessageChoice {
    std::string text;
    std::string error; // empty when text can be sent
};
// WSPR-2: the text the log quotes ("K1ABC FN42 37"), and the passes' messages from --call, --locator and
// --power (the options were refused when they cannot be encoded).
MessageChoice chooseMessage(const Options& options, const keyer::BeaconMessages& stored);
std::vector<keyer::wspr::Symbols> wsprMessages(const Options& options);

// Restores the station from its settings and sets the mode and identification of the options. Returns
// why the settings cannot be used, or an empty text. May throw platform::Failure (a frequency fault).
std::string prepareStation(Station& station, const Options& options);

// A key or PTT edge at its UTC time.
struct PassEdge {
    std::int64_t atUtcMs = 0;
    bool ptt = false; // false: the key line
    bool on = false;
    std::int32_t shiftCentiHz = 0; // the DFCW shift of VFO A in force at the edge
    bool operator==(const PassEdge&) const = default;
};

// VFO A moved without a phase jump while PTT is on, to rfOffsetHz from its controls at the radio frequency.
struct ToneChange {
    std::int64_t atUtcNs = 0;
    double rfOffsetHz = 0;
    bool operator==(const ToneChange&) const = default;
};

// VFO A's word as the keyer hands it to the tone: a move at its instant (continuous: without a phase jump),
// or, off the air, the stored word again from the next buffer the worker fills after the instant.
struct VfoAWordChange {
    std::int64_t atUtcNs = 0;
    std::int64_t word = 0;
    bool continuous = false;
    bool stored = false;
    bool operator==(const VfoAWordChange&) const = default;
};

struct Rehearsal {
    std::vector<PassEdge> edges;
    std::vector<ToneChange> toneChanges;  // a tone already playing is not listed again
    std::vector<std::int64_t> passStarts; // UTC, as scheduled
    std::int64_t lengthMs = 0;            // the first edge to the last: PTT on to PTT off
    std::string modeLabel;                // as the log quotes it
    bool shifts = false;                  // the mode moves VFO A for its dots (DFCW with a shift)
    std::int32_t vfoACoarseHz = 0;        // VFO A unshifted
    std::int32_t vfoAFineCentiHz = 0;
    std::vector<VfoAWordChange> vfoAWords; // every one, as queued, while the tone plays
    audio::ChannelValues vfoA;             // both channels as the tone starts
    audio::ChannelValues vfoB;
    int bufferFrames = 0; // of the worker's buffers
    std::string error;    // a setting or failure that stops the beacon before it keys anything
};

// Walks the passes of the options (all of them: not for --loop) with message (Windows-1251) from the
// settings file, the first scheduled from startUtcMs. Writes no log line, opens no port and no sound card.
Rehearsal rehearse(const std::string& settingsPath, const Options& options, const std::string& message,
                   std::int64_t startUtcMs);

} // namespace tarvel::beacon
