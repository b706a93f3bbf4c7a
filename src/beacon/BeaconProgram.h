#pragma once
// `tarvel beacon`: the unattended beacon on the real devices, without a window. The Qt core application
// object must exist (no platform plugin is needed); arguments are the words after "beacon".
#include <string>
#include <vector>

namespace tarvel::beacon {

// Returns the exit status: 0 when the passes were sent or a signal ended the run, 1 when a device failed, 2
// for bad input (nothing keyed).
int runBeacon(const std::vector<std::string>& arguments);

} // namespace tarvel::beacon
