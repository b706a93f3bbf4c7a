#pragma once
// The program's last act when it crashes (a fatal signal such as SIGSEGV or SIGABRT, or an exception that
// nobody caught): one hook that must only make async-signal-safe calls, run before the process ends
// as it would have ended anyway. Installed once, on the user-interface thread, at start.
namespace tarvel::platform {

// hook: called at most once, from whichever thread crashed; nullptr uninstalls nothing.
void installCrashHook(void (*hook)());

} // namespace tarvel::platform
