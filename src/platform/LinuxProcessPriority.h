#pragma once
// Process priority on Linux: Real Time is SCHED_FIFO, High is nice -10, Normal is nice 0; the calling
// thread goes to a SCHED_FIFO priority above the process's own. Called on the user-interface thread.
#include "platform/ProcessPriority.h"

namespace tarvel::platform {

class LinuxProcessPriority : public ProcessPriority {
public:
    // SCHED_FIFO priorities: every thread under Real Time, and the calling thread whatever the choice.
    // Both stay below the kernel's interrupt threads (50), so a busy user interface cannot starve them.
    static constexpr int ProcessRealTimePriority = 10;
    static constexpr int TimeCriticalPriority = 20;

    void apply(int choice) override;
};

// A thread that keeps a real-time class of its own whatever level the process is set to (the keyer's edge
// thread): apply() leaves it alone from now until its release. Called on that thread.
void keepOwnSchedulingClass();
void releaseOwnSchedulingClass();

} // namespace tarvel::platform
