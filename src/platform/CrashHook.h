#pragma once
// The program's last acts when a signal catches it where it cannot end a transmission in order: a crash
// (SIGSEGV, SIGABRT, SIGQUIT, SIGXCPU and the other signals that dump core, or an exception that nobody
// caught), or a signal the event loop could not take in time. The hooks must only make async-signal-safe
// calls. Installed once, on the user-interface thread, at start.
namespace tarvel::platform {

// beforeEnd: run at most once, from whichever thread is ending the process, before it ends as it would have
// without us. beforeStop: run each time the process stops (SIGTSTP) without having ended its transmission in
// order first; nullptr for nothing. A null beforeEnd installs nothing.
void installCrashHook(void (*beforeEnd)(), void (*beforeStop)() = nullptr);

// For signal handlers (async-signal-safe): runs beforeEnd, then ends the process by the signal's default
// action. Other threads that end the process meanwhile wait for the hook to finish.
[[noreturn]] void endAfterHook(int signal);
// For signal handlers (async-signal-safe): runs beforeStop, then stops the process until SIGCONT.
void stopAfterHook();

} // namespace tarvel::platform
