#pragma once
// Sets the process's scheduling class and raises the user-interface thread, which also runs the keyer's
// timer. Called on the user-interface thread, at start-up and whenever the operator confirms a choice.

namespace tarvel::platform {

class ProcessPriority {
public:
    // Choices as stored under "iPr".
    static constexpr int RealTime = 1;
    static constexpr int High = 2;
    static constexpr int Normal = 3;

    virtual ~ProcessPriority() = default;
    // Applies RealTime, High or Normal to the whole process (any other value leaves the process as it is),
    // then raises the calling thread to time-critical whatever the choice. What the system refuses is
    // passed over without a word.
    virtual void apply(int choice) = 0;
};

// A thread started by the user-interface thread inherits its time-critical priority; a worker calls this
// first to run at the process's level instead, so a busy worker cannot hold off the user interface.
void leaveInheritedTimeCritical();

} // namespace tarvel::platform
