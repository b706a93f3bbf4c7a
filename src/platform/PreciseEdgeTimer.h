#pragma once
// The window keyer's timer: a kernel timer (timerfd) on the monotonic clock, armed at absolute nanosecond
// deadlines and waited on by a thread of its own, with 1 ns of timer slack and real-time scheduling where
// the user may have it. At a deadline that thread makes the action handed to it (the next key edge) at
// once; the timeout itself then runs on the user-interface thread's Qt event loop, as with QtTimer.
// Created and used on the user-interface thread, which runs a Qt event loop.
#include "platform/HandlerDeadline.h"
#include "platform/Timer.h"

#include <QObject>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace tarvel::platform {

class PreciseEdgeTimer : public Timer {
public:
    using Clock = std::chrono::steady_clock;

    // The waiting thread's SCHED_FIFO priority: above the user-interface thread's, below the kernel's
    // interrupt threads (50).
    static constexpr int EdgePriority = 30;

    // refused: told on the constructing thread, with the words for the operator, when the waiting thread may
    // not have real-time scheduling. Throws Failure when the kernel timer cannot be created.
    explicit PreciseEdgeTimer(std::function<void(const std::string&)> refused = {});
    ~PreciseEdgeTimer() override;
    PreciseEdgeTimer(const PreciseEdgeTimer&) = delete;
    PreciseEdgeTimer& operator=(const PreciseEdgeTimer&) = delete;

    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    bool actAtDeadline(std::function<void()> action) override;
    std::int64_t stepInstantNs() const override;
    std::int64_t pendingDeadlineNs() const override;
    void anchorNextStart() override { anchor_ = Clock::now(); }
    void dropAnchor() override { anchor_.reset(); }

    // Of the pending timeout.
    Clock::time_point deadline() const { return deadline_; }
    // The waiting thread runs under real-time scheduling.
    bool realTime() const { return realTime_; }

private:
    Clock::time_point base() const;
    void startFrom(Clock::time_point base);
    void arm(Clock::time_point deadline);
    void disarm();
    void waitForDeadlines();
    void expire(std::uint64_t generation, Clock::time_point fired);

    int timerFd_;
    int wakeFd_;
    QObject receiver_; // the timeouts are queued to it, on the user-interface thread

    // Shared with the waiting thread. The action runs with the lock held, so disarming waits for an action
    // under way and no action runs after it.
    std::mutex mutex_;
    std::uint64_t generation_ = 0; // moves on at every arming and disarming
    bool armed_ = false;
    Clock::time_point deadline_{};
    std::function<void()> action_;
    bool quitting_ = false;

    // The user-interface thread's own.
    int interval_ = 1000;
    bool enabled_ = false;
    std::optional<Clock::time_point> anchor_;
    HandlerDeadline<Clock::time_point> handler_;
    bool realTime_ = false;

    std::thread thread_; // last: it starts once everything it reads is there
};

} // namespace tarvel::platform
