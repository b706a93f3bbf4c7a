#pragma once
// The deadline a timer's timeout handler runs for. Re-arming inside the handler counts from it, so a chain
// of re-arms does not drift; the handler may open a nested event loop (a message box) in which the same
// timer fires again, and the outer handler's deadline comes back when the inner one returns.
#include <functional>

namespace tarvel::platform {

template <typename TimePoint> class HandlerDeadline {
public:
    // Runs handler with fired as the deadline in force.
    void run(TimePoint fired, const std::function<void()>& handler) {
        struct Restore {
            HandlerDeadline& deadline;
            bool running;
            TimePoint fired;
            ~Restore() {
                deadline.running_ = running;
                deadline.fired_ = fired;
            }
        } restore{*this, running_, fired_};
        running_ = true;
        fired_ = fired;
        if (handler)
            handler();
    }
    bool running() const { return running_; }
    TimePoint fired() const { return fired_; }

private:
    bool running_ = false;
    TimePoint fired_{};
};

} // namespace tarvel::platform
