#pragma once
// The command line of the unattended beacon (the words after `tarvel beacon`), read into values. Reading
// never touches a file or a device: the settings file, the port and the sound are the run's business.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvel::beacon {

// Exit statuses: usage errors are 2, as for most command-line tools.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;

struct Options {
    std::optional<std::string> settingsFile; // none: the window's own settings file
    // What to send: stored message 1 to 4, or the text of --text. Without either, stored message 1.
    int message = 1;
    std::optional<std::string> text;
    // The keying mode as a row of keyer::Presets, or keyer::Presets::kNoRow for the stored custom values;
    // or FSKCW at a dot of fskcwDotSeconds (not 0), or a WSPR-2 beacon.
    int presetRow = 0;
    int fskcwDotSeconds = 0;
    bool wspr2 = false;
    // --shift: the DFCW or FSKCW shift, 0.01 Hz, instead of the mode's own.
    std::optional<std::int32_t> shiftCentiHz;
    // WSPR-2: what the message says, and the share of frames that carry a pass (each drawn on its own).
    std::string call;
    std::string locator;
    int powerDbm = 0;
    int txPercent = 100;
    bool idStart = false;
    bool idEnd = false;
    // The frame (0: no schedule, passes follow each other at once) and the start's offset in it.
    std::int64_t everyMs = 0;
    std::int64_t offsetMs = 0;
    int count = 1;     // passes to send
    bool loop = false; // send passes until stopped; count does not apply
    bool dryRun = false;
    // --render: the run's samples written to this WAV file instead of played; no port, no sound card.
    std::optional<std::string> renderFile;
    bool quiet = false;
    bool trackClock = false; // keep the correction current from the sound card's measured clock
};

struct OptionsParse {
    enum class Action { Run, Help, Version, Error };

    Action action = Action::Run;
    Options options;    // meaningful with Action::Run
    std::string output; // the usage or version text, or the one error message
    int exitStatus = kExitOk;
};

// The names --mode accepts: the presets' in their order, "custom", then fskcw1 to fskcw120 and wspr2.
std::vector<std::string> modeNames();

std::string usageText();
std::string versionText();

OptionsParse parseOptions(const std::vector<std::string>& arguments);

} // namespace tarvel::beacon
