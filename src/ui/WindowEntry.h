#pragma once
// The window's part of the program lives in a module of its own, which `tarvel` loads only to open the
// window: the headless commands (help, version, the beacon) then never load the widget toolkit.

namespace tarvel::ui {

// The module's file name, beside the executable (the build tree) or in its private library folder
// (installed).
inline constexpr const char* kWindowModule = "tarvel-window.so";
// Its one entry: opens the window with the program's whole command line (Qt takes its own options) and
// returns the exit status.
inline constexpr const char* kWindowEntry = "tarvel_run_window";
using WindowEntry = int (*)(int argc, char** argv);

} // namespace tarvel::ui
