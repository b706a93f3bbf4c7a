#include "platform/KernelTimer.h"

#include "platform/Failure.h"
#include "platform/WakeAhead.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <sys/timerfd.h>
#include <type_traits>
#include <unistd.h>

namespace tarvel::platform {
namespace {

using namespace std::chrono;

template <typename Clock> constexpr bool kSystemClock = std::is_same_v<Clock, system_clock>;

// libstdc++ reads these two clocks from CLOCK_REALTIME and CLOCK_MONOTONIC.
template <typename Clock>
constexpr clockid_t kKernelClock = kSystemClock<Clock> ? CLOCK_REALTIME : CLOCK_MONOTONIC;

// An interval of 0 (or less) means "at the next opportunity", as with an echo step.
milliseconds effective(int ms) {
    return milliseconds(std::max(ms, 1));
}

// A chain further behind than this (a suspended machine, a stalled event loop) starts again from now:
// catching up would crowd the missed intervals into a burst of empty ones.
constexpr auto kMaxLag = seconds(1);

// The timeout runs from the event loop, which wakes more slowly than a thread waiting by itself.
constexpr auto kLead = kEventLoopWakeLead;

// Far beyond any frame: a system-clock timer armed here only watches for steps of the clock.
constexpr auto kNever = seconds(7'258'118'400); // 2200-01-01

int createTimerFd(clockid_t clock) {
    const int fd = timerfd_create(clock, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        throw Failure(std::string("The kernel timer could not be created (timerfd_create): ") +
                      std::strerror(errno));
    return fd;
}

itimerspec oneShotAt(nanoseconds sinceEpoch) {
    // A zero time would disarm the timer; anything at or before the clock's zero means "already passed".
    const auto ns = std::max(sinceEpoch, nanoseconds(1));
    itimerspec oneShot{};
    oneShot.it_value.tv_sec = static_cast<time_t>(ns.count() / 1'000'000'000);
    oneShot.it_value.tv_nsec = static_cast<long>(ns.count() % 1'000'000'000);
    return oneShot;
}

nanoseconds reading(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return seconds(t.tv_sec) + nanoseconds(t.tv_nsec);
}

// Moves only when the system clock is set: the time service's gradual corrections slew both clocks alike.
nanoseconds systemAheadOfMonotonic() {
    const auto monotonic = reading(CLOCK_MONOTONIC);
    return reading(CLOCK_REALTIME) - monotonic;
}

template <typename Clock> std::int64_t monotonicNs(typename Clock::time_point instant) {
    if constexpr (kSystemClock<Clock>)
        return (duration_cast<nanoseconds>(instant.time_since_epoch()) - systemAheadOfMonotonic()).count();
    else
        return duration_cast<nanoseconds>(instant.time_since_epoch()).count();
}

} // namespace

template <typename C> std::int64_t KernelTimer<C>::stepInstantNs() const {
    return monotonicNs<C>(handler_.running() ? handler_.fired() : Clock::now());
}

template <typename C> std::int64_t KernelTimer<C>::pendingDeadlineNs() const {
    return monotonicNs<C>(deadline_);
}

template <typename C>
KernelTimer<C>::KernelTimer()
    : fd_(createTimerFd(kKernelClock<C>)), notifier_(fd_, QSocketNotifier::Read),
      systemAheadOfMonotonic_(systemAheadOfMonotonic()) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] { expire(); });
}

template <typename C> KernelTimer<C>::~KernelTimer() {
    notifier_.setEnabled(false); // before the descriptor it watches goes away
    ::close(fd_);
}

template <typename C> void KernelTimer<C>::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_)
        startFrom(handler_.running() ? handler_.fired() : Clock::now());
}

template <typename C> void KernelTimer<C>::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled_)
        startFrom(handler_.running() ? handler_.fired() : Clock::now());
    else
        disarm();
}

template <typename C> void KernelTimer<C>::startAt(typename Clock::time_point deadline) {
    enabled_ = true;
    arm(deadline);
}

template <typename C>
void KernelTimer<C>::watchClockSteps(std::function<void(std::chrono::nanoseconds step)> onStep) requires
    std::is_same_v<C, std::chrono::system_clock> {
    onClockStep_ = std::move(onStep);
    if (!enabled_)
        disarm();
}

template <typename C> void KernelTimer<C>::startFrom(typename Clock::time_point base) {
    arm(base + effective(interval_));
}

template <typename C> void KernelTimer<C>::arm(typename Clock::time_point deadline) {
    deadline_ = deadline;
    // The kernel timer goes off the lead ahead and expire() spins the rest; a nearer deadline is waited for.
    const auto wakeAt = deadline - Clock::now() > kLead ? deadline - kLead : deadline;
    const itimerspec oneShot = oneShotAt(duration_cast<nanoseconds>(wakeAt.time_since_epoch()));
    const int flags = TFD_TIMER_ABSTIME | (onClockStep_ ? TFD_TIMER_CANCEL_ON_SET : 0);
    // Cannot fail for a valid descriptor and a normalised time; re-arming also drops an unread expiry.
    timerfd_settime(fd_, flags, &oneShot, nullptr);
}

template <typename C> void KernelTimer<C>::disarm() {
    if (onClockStep_) { // the steps are still to be seen
        const itimerspec never = oneShotAt(kNever);
        timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr);
        return;
    }
    const itimerspec stop{};
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &stop, nullptr);
}

template <typename C> void KernelTimer<C>::expire() {
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(fd_, &expirations, sizeof expirations);
    if (got < 0 && errno == ECANCELED) {
        clockStepped();
        return;
    }
    // Nothing to read when the timer was re-armed or disarmed after the kernel flagged it readable.
    if (got != static_cast<ssize_t>(sizeof expirations) || !enabled_)
        return;
    auto now = Clock::now();
    // Woken the lead ahead: the rest is spun here, as this thread has nothing to do before the deadline.
    if (deadline_ > now && deadline_ - now <= kLead) {
        now = spinUntil<C>(deadline_, kLead);
        // A step of the clock during the spin is told first, as at any other time.
        if (onClockStep_ && ::read(fd_, &expirations, sizeof expirations) < 0 && errno == ECANCELED) {
            clockStepped();
            return;
        }
    }
    if (deadline_ > now) { // the clock was stepped back after the expiry or in the spin: wait again
        arm(deadline_);
        return;
    }
    const auto fired = now - deadline_ > kMaxLag ? now : deadline_;
    startFrom(fired); // a form timer repeats until disabled
    handler_.run(fired, onTimeout);
}

template <typename C> void KernelTimer<C>::clockStepped() {
    const auto ahead = systemAheadOfMonotonic();
    const auto step = ahead - systemAheadOfMonotonic_;
    systemAheadOfMonotonic_ = ahead;
    if (onClockStep_)
        onClockStep_(step);
    // The kernel drops an expiry that comes with the news of a step: a deadline that passed fires at once.
    if (enabled_)
        arm(deadline_);
    else
        disarm();
}

template class KernelTimer<std::chrono::system_clock>;
template class KernelTimer<std::chrono::steady_clock>;

} // namespace tarvel::platform
