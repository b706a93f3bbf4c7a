#pragma once
// `tarvel beacon`: the unattended beacon on the real devices, without a window. The Qt core application
// object must exist (no platform plugin is needed); arguments are the words after "beacon".
#include <string>
#include <vector>

namespace tarvel::beacon {

// Returns the exit status: 0 when the passes were sent or a signal ended the run, 1 when a device failed, 2
// for bad input (nothing keyed).
int runBeacon(const std::vector<std::string>& arguments);

// Why the settings file cannot be read as one, looked at without blocking or opening a device; empty when
// it can. Shared with `tarvel calibrate`.
std::string settingsFileRefusal(const std::string& path);
// A sound failure (the window's own words) as the command line says it.
std::string soundFailureMessage(const std::string& text, const std::string& device);

// `tarvel calibrate`: measures the sound card's clock against the system clock while the stored tones
// play. Returns 0 when measured (also when a signal ended it early), 1 when the device failed, 2 for bad
// input.
int runCalibrate(const std::vector<std::string>& arguments);

} // namespace tarvel::beacon
