#include "platform/WallClockTimer.h"

#include "platform/Failure.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

namespace tarvel::platform {
namespace {

using namespace std::chrono;

// An interval of 0 (or less) means "at the next opportunity", as with an echo step.
milliseconds effective(int ms) {
    return milliseconds(std::max(ms, 1));
}

// A chain further behind than this (a suspended machine, a stalled event loop, the clock stepped forward)
// starts again from now: catching up would crowd the missed intervals into a burst of empty ones.
constexpr auto kMaxLag = seconds(1);

int createTimerFd() {
    const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        throw Failure(std::string("The wall-clock timer could not be created (timerfd_create): ") +
                      std::strerror(errno));
    return fd;
}

itimerspec oneShotAt(WallClockTimer::Clock::time_point deadline) {
    // A zero time would disarm the timer; anything at or before the epoch means "already passed".
    const auto ns = std::max(duration_cast<nanoseconds>(deadline.time_since_epoch()), nanoseconds(1));
    itimerspec oneShot{};
    oneShot.it_value.tv_sec = static_cast<time_t>(ns.count() / 1'000'000'000);
    oneShot.it_value.tv_nsec = static_cast<long>(ns.count() % 1'000'000'000);
    return oneShot;
}

} // namespace

WallClockTimer::WallClockTimer() : fd_(createTimerFd()), notifier_(fd_, QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] { expire(); });
}

WallClockTimer::~WallClockTimer() {
    notifier_.setEnabled(false); // before the descriptor it watches goes away
    ::close(fd_);
}

void WallClockTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_)
        startFrom(base());
}

void WallClockTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled_)
        startFrom(base());
    else
        disarm();
}

void WallClockTimer::startAt(Clock::time_point deadline) {
    countFrom_.reset();
    enabled_ = true;
    arm(deadline);
}

void WallClockTimer::countNextFrom(Clock::time_point base) {
    countFrom_ = base;
}

WallClockTimer::Clock::time_point WallClockTimer::base() {
    if (handler_.running())
        return handler_.fired();
    if (countFrom_) {
        const auto from = *countFrom_;
        countFrom_.reset();
        return from;
    }
    return Clock::now();
}

void WallClockTimer::startFrom(Clock::time_point base) {
    arm(base + effective(interval_));
}

void WallClockTimer::arm(Clock::time_point deadline) {
    deadline_ = deadline;
    const itimerspec oneShot = oneShotAt(deadline);
    // Cannot fail for a valid descriptor and a normalised time; re-arming also drops an unread expiry.
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &oneShot, nullptr);
}

void WallClockTimer::disarm() {
    const itimerspec stop{};
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &stop, nullptr);
}

void WallClockTimer::expire() {
    std::uint64_t expirations = 0;
    // Nothing to read when the timer was re-armed or disarmed after the kernel flagged it readable.
    if (::read(fd_, &expirations, sizeof expirations) != static_cast<ssize_t>(sizeof expirations))
        return;
    if (!enabled_)
        return;
    const auto now = Clock::now();
    if (deadline_ > now) { // the clock was stepped back after the expiry: wait for the deadline again
        arm(deadline_);
        return;
    }
    const auto fired = now - deadline_ > kMaxLag ? now : deadline_;
    startFrom(fired); // a form timer repeats until disabled
    handler_.run(fired, onTimeout);
}

} // namespace tarvel::platform
