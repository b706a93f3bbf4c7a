#pragma once
// `tarvel calibrate`: its command line (the words after "calibrate") and the lines it prints, kept apart
// from the run so that both are checked without a sound card.
#include "audio/ClockFit.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvel::beacon {

struct CalibrateOptions {
    int minutes = 10;
    std::optional<std::string> settingsFile; // none: the window's own settings file
    bool apply = false;                      // write the corrected factor to the settings file
};

struct CalibrateParse {
    enum class Action { Run, Help, Version, Error };

    Action action = Action::Run;
    CalibrateOptions options;
    std::string output; // the usage or version text, or the one error message
    int exitStatus = 0;
};

std::string calibrateUsageText();
CalibrateParse parseCalibrateOptions(const std::vector<std::string>& arguments);

// Every ten seconds: the time measured and the running estimate.
std::string calibrationProgress(const audio::ClockEstimate& estimate);
// The last line, in the one form scripts may parse:
// "clock offset: +37.50 ppm (± 0.04 ppm over 600 s; system clock synchronised: yes); Correct Freq:
// 0.99996250"
std::string calibrationSummary(const audio::ClockEstimate& estimate, bool synchronised,
                               double correctedFactor);

} // namespace tarvel::beacon
