#include "platform/VirtualTime.h"

#include <algorithm>
#include <utility>

namespace tarvel::platform {

// A timer that goes away before the time must leave its list, or the next advance would fire a dead timer.
VirtualTimer::~VirtualTimer() {
    if (time_)
        std::erase(time_->timers_, this);
}

bool VirtualTimer::actAtDeadline(std::function<void()> action) {
    if (!actsAtDeadline || !enabled_)
        return false;
    action_ = std::move(action);
    return true;
}

std::int64_t VirtualTimer::stepInstantNs() const {
    return (time_ ? time_->now_ : 0) * 1'000'000;
}

void VirtualTimer::setInterval(int milliseconds) {
    action_ = nullptr;
    interval_ = milliseconds;
    if (enabled_)
        deadline_ = (time_ ? time_->now_ : 0) + std::max(interval_, 1);
}

void VirtualTimer::setEnabled(bool enabled) {
    action_ = nullptr;
    enabled_ = enabled;
    if (enabled_)
        deadline_ = (time_ ? time_->now_ : 0) + std::max(interval_, 1);
}

VirtualTime::VirtualTime(LocalTime start) : start_(start) {}

VirtualTime::~VirtualTime() {
    for (VirtualTimer* t : timers_)
        t->time_ = nullptr;
}

std::unique_ptr<VirtualTimer> VirtualTime::makeTimer() {
    auto timer = std::make_unique<VirtualTimer>(*this);
    timers_.push_back(timer.get());
    return timer;
}

LocalTime VirtualTime::now() const {
    return addMilliseconds(start_, now_);
}

VirtualTimer* VirtualTime::nextDue(std::int64_t limit) {
    VirtualTimer* best = nullptr;
    for (VirtualTimer* t : timers_)
        if (t->enabled_ && t->deadline_ <= limit && (!best || t->deadline_ < best->deadline_))
            best = t;
    return best;
}

void VirtualTime::advance(std::int64_t ms) {
    const std::int64_t end = now_ + ms;
    while (VirtualTimer* t = nextDue(end)) {
        now_ = t->deadline_;
        t->deadline_ = now_ + std::max(t->interval_, 1); // a form timer repeats until disabled
        if (auto action = std::exchange(t->action_, nullptr)) {
            ++t->actionsRun;
            action();
        }
        if (t->onTimeout)
            t->onTimeout();
    }
    now_ = end;
}

bool VirtualTime::runNext() {
    VirtualTimer* t = nextDue(INT64_MAX);
    if (!t)
        return false;
    advance(t->deadline_ - now_);
    return true;
}

} // namespace tarvel::platform
