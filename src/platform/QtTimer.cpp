#include "platform/QtTimer.h"

#include <algorithm>

namespace tarvel::platform {
namespace {

// An interval of 0 (or less) means "at the next opportunity", as with an echo step.
std::chrono::milliseconds effective(int milliseconds) {
    return std::chrono::milliseconds(std::max(milliseconds, 1));
}

} // namespace

QtTimer::QtTimer(std::chrono::milliseconds maxStep)
    : maxStep_(std::max(maxStep, std::chrono::milliseconds(1))) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { expire(); });
}

void QtTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_)
        startFrom(handler_.running() ? handler_.fired() : Clock::now());
}

void QtTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled_)
        startFrom(handler_.running() ? handler_.fired() : Clock::now());
    else
        timer_.stop();
}

std::int64_t QtTimer::stepInstantNs() const {
    const auto instant = handler_.running() ? handler_.fired() : Clock::now();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(instant.time_since_epoch()).count();
}

std::int64_t QtTimer::pendingDeadlineNs() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(deadline_.time_since_epoch()).count();
}

void QtTimer::startFrom(Clock::time_point base) {
    deadline_ = base + effective(interval_);
    waitTowardDeadline();
}

void QtTimer::waitTowardDeadline() {
    using namespace std::chrono;
    const auto remaining = ceil<milliseconds>(deadline_ - Clock::now());
    timer_.start(static_cast<int>(std::clamp(remaining, milliseconds(0), maxStep_).count()));
}

void QtTimer::expire() {
    if (!enabled_)
        return;
    const auto now = Clock::now();
    if (deadline_ > now) { // an intermediate step of a long wait
        waitTowardDeadline();
        return;
    }
    // A chain that fell more than a step behind (a suspended machine, a stalled event loop) starts again
    // from now: catching up would crowd the missed intervals into a burst of empty ones.
    const auto fired = now - deadline_ > maxStep_ ? now : deadline_;
    startFrom(fired); // a form timer repeats until disabled
    handler_.run(fired, onTimeout);
}

} // namespace tarvel::platform
