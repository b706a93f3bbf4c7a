#pragma once
// Work started beside the calling thread, on another core. A new thread is often queued behind the thread
// that made it, on the same core, for a scheduler tick or more while another core idles; start-up work
// meant to run alongside would then only slow the thread it was meant to spare.
#include <functional>
#include <sched.h>
#include <thread>

namespace tarvel::platform {

class SideThread {
public:
    explicit SideThread(std::function<void()> work);
    // Joins.
    ~SideThread();
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;

    // Gives the thread back every core it may use, so that a waiting caller's core can run it, then waits
    // for it to end.
    void join();

private:
    std::thread thread_;
    cpu_set_t allowed_;
    bool narrowed_ = false;
};

} // namespace tarvel::platform
