#include "platform/PreciseEdgeTimer.h"

#include "platform/Failure.h"
#include "platform/LinuxProcessPriority.h"
#include "platform/WakeAhead.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace tarvel::platform {
namespace {

using namespace std::chrono;

// An interval of 0 (or less) means "at the next opportunity", as with an echo step.
milliseconds effective(int ms) {
    return milliseconds(std::max(ms, 1));
}

// A chain further behind than this (a suspended machine, a stalled event loop) starts again from now:
// catching up would crowd the missed intervals into a burst of empty ones.
constexpr auto kMaxLag = seconds(1);

int checked(int fd, const char* call) {
    if (fd < 0)
        throw Failure(std::string("The keyer's timer could not be created (") + call +
                      "): " + std::strerror(errno));
    return fd;
}

// SCHED_FIFO for the thread, at the priority wanted or as high as RLIMIT_RTPRIO lets an ordinary user go.
bool raiseToRealTime(pthread_t thread, int wanted) {
    sched_param param{};
    param.sched_priority = wanted;
    if (pthread_setschedparam(thread, SCHED_FIFO, &param) == 0)
        return true;
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) != 0 || limit.rlim_cur < 1)
        return false;
    param.sched_priority =
        limit.rlim_cur == RLIM_INFINITY ? wanted : std::min(wanted, static_cast<int>(limit.rlim_cur));
    return pthread_setschedparam(thread, SCHED_FIFO, &param) == 0;
}

} // namespace

PreciseEdgeTimer::PreciseEdgeTimer(std::function<void(const std::string&)> refused)
    : timerFd_(checked(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC), "timerfd_create")),
      wakeFd_(checked(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC), "eventfd")),
      thread_([this] { waitForDeadlines(); }) {
    realTime_ = raiseToRealTime(thread_.native_handle(), EdgePriority);
    if (!realTime_ && refused)
        refused("Real-time scheduling is not allowed for this user, so key edges may come up to a "
                "millisecond late; a real-time priority limit (RLIMIT_RTPRIO) allows it.");
}

PreciseEdgeTimer::~PreciseEdgeTimer() {
    {
        const std::lock_guard lock(mutex_);
        quitting_ = true;
        action_ = nullptr;
    }
    const std::uint64_t one = 1;
    if (::write(wakeFd_, &one, sizeof one) < 0)
        std::terminate(); // an eventfd with room cannot refuse: the thread would never end

    thread_.join();
    ::close(wakeFd_);
    ::close(timerFd_);
}

PreciseEdgeTimer::Clock::time_point PreciseEdgeTimer::base() const {
    if (handler_.running())
        return handler_.fired();
    return anchor_ ? *anchor_ : Clock::now();
}

std::int64_t PreciseEdgeTimer::stepInstantNs() const {
    return duration_cast<nanoseconds>(base().time_since_epoch()).count();
}

std::int64_t PreciseEdgeTimer::pendingDeadlineNs() const {
    // Written only on this thread.
    return duration_cast<nanoseconds>(deadline_.time_since_epoch()).count();
}

void PreciseEdgeTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_)
        startFrom(base());
}

void PreciseEdgeTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled_)
        startFrom(base());
    else
        disarm();
}

bool PreciseEdgeTimer::actAtDeadline(std::function<void()> action) {
    const std::lock_guard lock(mutex_);
    if (!armed_)
        return false;
    action_ = std::move(action);
    return true;
}

void PreciseEdgeTimer::startFrom(Clock::time_point base) {
    if (!handler_.running())
        anchor_.reset(); // used once
    arm(base + effective(interval_));
}

void PreciseEdgeTimer::arm(Clock::time_point deadline) {
    const std::lock_guard lock(mutex_);
    ++generation_;
    armed_ = true;
    deadline_ = deadline;
    action_ = nullptr;
    const auto ns =
        std::max(duration_cast<nanoseconds>((deadline - kThreadWakeLead).time_since_epoch()), nanoseconds(1));
    itimerspec oneShot{};
    oneShot.it_value.tv_sec = static_cast<time_t>(ns.count() / 1'000'000'000);
    oneShot.it_value.tv_nsec = static_cast<long>(ns.count() % 1'000'000'000);
    // Cannot fail for a valid descriptor and a normalised time; re-arming also drops an unread expiry.
    timerfd_settime(timerFd_, TFD_TIMER_ABSTIME, &oneShot, nullptr);
}

void PreciseEdgeTimer::disarm() {
    const std::lock_guard lock(mutex_);
    ++generation_;
    armed_ = false;
    action_ = nullptr;
    const itimerspec stop{};
    timerfd_settime(timerFd_, TFD_TIMER_ABSTIME, &stop, nullptr);
}

void PreciseEdgeTimer::waitForDeadlines() {
    // The operator's process priority is for the other threads: this one stays above them all.
    keepOwnSchedulingClass();
    struct Release {
        ~Release() { releaseOwnSchedulingClass(); }
    } release;
    // The kernel may otherwise add up to 50 µs to every wake-up of an ordinary thread.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    pollfd fds[2] = {{timerFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0)
            continue; // EINTR
        std::uint64_t count = 0;
        if ((fds[1].revents & POLLIN) && ::read(wakeFd_, &count, sizeof count) < 0)
            count = 0; // drained meanwhile: the flags below decide
        const bool expired =
            (fds[0].revents & POLLIN) && ::read(timerFd_, &count, sizeof count) == sizeof count;
        std::unique_lock lock(mutex_);
        if (quitting_)
            return;
        // Nothing to read when the timer was re-armed or disarmed after the kernel flagged it readable; a
        // deadline further than the lead was armed after it went off.
        if (!expired || !armed_ || deadline_ - Clock::now() > kThreadWakeLead)
            continue;
        if (Clock::now() < deadline_) {
            // Awake ahead of the deadline: the rest is waited out without the lock, so that arming or
            // disarming meanwhile is not held up, and counts only if it is still the same deadline.
            const std::uint64_t generation = generation_;
            const Clock::time_point deadline = deadline_;
            lock.unlock();
            spinUntil<Clock>(deadline, kThreadWakeLead);
            lock.lock();
            if (quitting_)
                return;
            if (!armed_ || generation_ != generation)
                continue;
        }
        armed_ = false;
        if (action_) {
            action_();
            action_ = nullptr;
        }
        QMetaObject::invokeMethod(
            &receiver_, [this, generation = generation_, fired = deadline_] { expire(generation, fired); },
            Qt::QueuedConnection);
    }
}

void PreciseEdgeTimer::expire(std::uint64_t generation, Clock::time_point fired) {
    // A timeout re-armed or disabled after it was queued is stale.
    if (!enabled_ || generation != generation_)
        return;
    const auto now = Clock::now();
    if (now - fired > kMaxLag)
        fired = now;
    startFrom(fired); // a form timer repeats until disabled
    handler_.run(fired, onTimeout);
}

} // namespace tarvel::platform
