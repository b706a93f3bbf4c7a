#pragma once
// The program's millisecond timer: a precise single-shot Qt timer chained so that a run of re-armed
// intervals does not drift. Created and used on the user-interface thread, which runs a Qt event loop.
#include "platform/HandlerDeadline.h"
#include "platform/Timer.h"

#include <QTimer>
#include <chrono>

namespace tarvel::platform {

class QtTimer : public Timer {
public:
    using Clock = std::chrono::steady_clock;

    // maxStep: the longest single wait toward a deadline. The kernel grants long waits with more slack,
    // so a long interval is covered in steps and the last one lands on time. Tests shorten it.
    explicit QtTimer(std::chrono::milliseconds maxStep = std::chrono::seconds(1));

    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    std::int64_t stepInstantNs() const override;
    std::int64_t pendingDeadlineNs() const override;

private:
    void startFrom(Clock::time_point base);
    void waitTowardDeadline();
    void expire();

    QTimer timer_;
    std::chrono::milliseconds maxStep_;
    int interval_ = 1000;
    bool enabled_ = false;
    Clock::time_point deadline_{};
    HandlerDeadline<Clock::time_point> handler_;
};

} // namespace tarvel::platform
