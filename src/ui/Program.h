#pragma once
// The program as it runs for the operator: the real devices, the four windows, the event loop, and the
// one way out that closing the window and the termination signals share.
#include "ui/Wiring.h"

#include <functional>

namespace tarvel::ui {

// Runs until the main window closes or SIGINT, SIGTERM or SIGHUP arrives, then ends a transmission on the
// air, stops the tone and lets go of the port with both lines low; returns the exit status (0 for these
// endings). The application object must exist. started runs once the start-up sequence is over, on the
// user-interface thread, before the event loop (tests start a transmission there).
int runProgram(const std::function<void(Wiring&)>& started = {});

} // namespace tarvel::ui
