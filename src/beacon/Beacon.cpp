#include "beacon/Beacon.h"

#include "beacon/Schedule.h"

#include <algorithm>
#include <utility>

namespace tarvel::beacon {
namespace {

// A pass whose alarm comes this much after its frame began is skipped: its pause and elements would start
// that late into the frame, and a receiver watching the frame expects them on time.
constexpr std::int64_t kSkipLateMs = 500;

} // namespace

TimerAlarm::TimerAlarm(platform::Timer& timer, std::function<std::int64_t()> nowUtcMs)
    : timer_(timer), nowUtcMs_(std::move(nowUtcMs)) {
    timer_.onTimeout = [this] {
        timer_.setEnabled(false);
        if (onTime)
            onTime();
    };
}

void TimerAlarm::at(std::int64_t utcMs) {
    timer_.setInterval(static_cast<int>(std::max<std::int64_t>(utcMs - nowUtcMs_(), 0)));
    timer_.setEnabled(true);
}

void TimerAlarm::cancel() {
    timer_.setEnabled(false);
}

Beacon::Beacon(Station& station, Alarm& alarm, std::function<std::int64_t()> nowUtcMs, const Options& options,
               std::string message, std::int64_t passLengthMs)
    : station_(station), alarm_(alarm), nowUtcMs_(std::move(nowUtcMs)), options_(options),
      message_(std::move(message)), passLengthMs_(passLengthMs) {
    keyer::TransmissionNotices& notices = station_.transmission().notices;
    notices.passChanged.connect([listening = listening_](bool sending) {
        if (Beacon* self = *listening; self && sending && self->onAir_)
            self->passBegan();
    });
    notices.elementBegun.connect([listening = listening_](keyer::Element element) {
        if (Beacon* self = *listening; self && self->onAir_ && self->elementShown)
            self->elementShown({self->nowUtcMs_(), element, self->passStartUtcMs_ + self->passLengthMs_});
    });
    // Also after the end of a pass that a step's failure or the tone's loss cut short.
    notices.messagesIdle.connect([listening = listening_] {
        if (Beacon* self = *listening; self && self->onAir_)
            self->passOver();
    });
    alarm_.onTime = [this] { startPass(); };
    alarm_.onClockStep = [this](std::int64_t stepMs) { stepClock(stepMs); };
}

Beacon::~Beacon() {
    alarm_.onTime = nullptr;
    alarm_.onClockStep = nullptr;
    *listening_ = nullptr;
}

void Beacon::begin() {
    station_.tone().start();
    schedule(nowUtcMs_());
}

void Beacon::schedule(std::int64_t notBeforeUtcMs) {
    // Moves handed for another frame would play into this one.
    station_.transmission().dropHandedMoves();
    const std::int64_t start = passStart(notBeforeUtcMs, nowUtcMs_(), options_.everyMs, options_.offsetMs);
    plannedFrameUtcMs_ = start;
    if (passScheduled)
        passScheduled(start);
    leading_ = wspr_.has_value();
    alarm_.at(leading_ ? start - keyer::wsprpass::kMovesLeadMs : start);
}

void Beacon::leadPass() {
    leading_ = false;
    if (!wspr_->sendsInNextFrame()) {
        if (frameLeftOut)
            frameLeftOut(plannedFrameUtcMs_);
        schedule(plannedFrameUtcMs_ + options_.everyMs / 2);
        return;
    }
    platform::runGuarded(station_.sink(), [&] {
        station_.transmission().handPassMovesAhead(wspr_->upcomingPass(), plannedFrameUtcMs_ - nowUtcMs_());
    });
    alarm_.at(plannedFrameUtcMs_);
}

void Beacon::scheduleNextFrame() {
    // Halfway into the frame last sent: its successor, also when a clock step's size was rounded.
    schedule(sentFrameUtcMs_ ? *sentFrameUtcMs_ + options_.everyMs / 2 : nowUtcMs_());
}

void Beacon::startPass() {
    if (leading_) {
        leadPass();
        return;
    }
    // The pass's steps are timed from now, so a late start keeps every element whole.
    const std::int64_t now = nowUtcMs_();
    if (options_.everyMs > 0 && now - plannedFrameUtcMs_ >= kSkipLateMs) {
        if (passSkipped)
            passSkipped(plannedFrameUtcMs_, now - plannedFrameUtcMs_);
        schedule(now);
        return;
    }
    onAir_ = true;
    sentFrameUtcMs_ = plannedFrameUtcMs_;
    passStartUtcMs_ = now;
    if (passStarting)
        passStarting(options_.everyMs > 0 ? plannedFrameUtcMs_ : now);
    keyer::Transmission& transmission = station_.transmission();
    // Without a frame the window's loop sends the passes back to back; the last one lets go of it.
    transmission.setLoop(options_.everyMs == 0 && (options_.loop || options_.count > 1));
    platform::runGuarded(station_.sink(), [&] {
        if (wspr_)
            transmission.sendPass(message_, wspr_->nextPass());
        else
            transmission.sendMessage(message_);
    });
}

void Beacon::passBegan() {
    ++started_;
    if (started_ > 1)
        passStartUtcMs_ = nowUtcMs_();
    if (!morePasses())
        station_.transmission().setLoop(false);
}

void Beacon::passOver() {
    onAir_ = false;
    if (options_.everyMs == 0 || !morePasses()) {
        finish(0);
        return;
    }
    scheduleNextFrame();
}

void Beacon::stepClock(std::int64_t stepMs) {
    if (done_ || ending_)
        return;
    if (clockStepped)
        clockStepped(stepMs);
    // What was sent stays where it was in time; read on the stepped clock, it moved by the step.
    if (sentFrameUtcMs_)
        *sentFrameUtcMs_ += stepMs;
    passStartUtcMs_ += stepMs;
    // A pass on the air runs on (its elements are timed on the monotonic clock); a pending alarm is for a
    // frame of the old reading.
    if (!onAir_ && options_.everyMs > 0)
        scheduleNextFrame();
}

void Beacon::stop() {
    end(0);
}

void Beacon::fail() {
    failed_ = true;
    // The tone's loss or a step's failure ends the pass before the failure is told: a run that ended on
    // that pass still fails.
    if (done_)
        finish(1);
    else
        end(1);
}

void Beacon::pause() {
    if (done_ || ending_ || paused_)
        return;
    paused_ = true;
    takeOffAir();
}

void Beacon::takeOffAir() {
    // Not on the air for the beacon any more: the transmission's end is not a pass that ran its course.
    onAir_ = false;
    alarm_.cancel();
    station_.transmission().dropHandedMoves();
    if (station_.transmission().onAir())
        platform::runGuarded(station_.sink(), [this] { station_.transmission().stopTransmission(); });
}

void Beacon::resume() {
    if (!paused_)
        return;
    paused_ = false;
    if (done_ || ending_)
        return;
    if (!morePasses()) {
        finish(0);
        return;
    }
    schedule(nowUtcMs_());
}

void Beacon::end(int status) {
    // A failure while the pass is being ended reports back here: it only marks the run as failed.
    if (done_ || ending_)
        return;
    ending_ = true;
    takeOffAir();
    finish(failed_ ? 1 : status);
}

void Beacon::finish(int status) {
    // Once, but a failure told after an end with 0 still makes it a failed run.
    if (done_ && (status == 0 || status_ != 0))
        return;
    done_ = true;
    status_ = status;
    alarm_.cancel();
    if (finished)
        finished(status);
}

} // namespace tarvel::beacon
