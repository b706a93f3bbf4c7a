#include "keyer/WsprBeacon.h"

#include "keyer/Wspr.h"
#include "platform/Failure.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace tarvel::keyer {

WsprBeacon::WsprBeacon(Transmission& transmission, Presets& presets, platform::Timer& frameTimer,
                       std::function<std::int64_t()> nowUtcMs, std::function<std::uint64_t()> draw)
    : transmission_(transmission), presets_(presets), timer_(frameTimer), nowUtcMs_(std::move(nowUtcMs)),
      draw_(std::move(draw)) {
    timer_.setEnabled(false);
    timer_.onTimeout = [this] { alarm(); };
    // The end of a pass, or Stop TX inside one.
    transmission_.notices.messagesIdle.connect([listening = listening_] {
        if (WsprBeacon* self = *listening; self && self->loopToRestore_)
            self->transmission_.setLoop(*std::exchange(self->loopToRestore_, std::nullopt));
    });
}

WsprBeacon::~WsprBeacon() {
    *listening_ = nullptr;
    timer_.setEnabled(false);
    timer_.onTimeout = nullptr;
}

void WsprBeacon::arm(const WsprValues& values) {
    const wspr::Encoding encoding = wspr::encode(values.call, values.locator, values.powerDbm);
    if (!encoding.refusal.empty())
        throw platform::Failure("WSPR: " + encoding.refusal);
    if (values.txPercent < 0 || values.txPercent > 100)
        throw platform::Failure("WSPR: the share of frames must be 0 to 100 %");
    disarm();
    values_ = values;
    accepted(values_);
    schedule_.emplace(encoding.messages, values.txPercent, draw_);
    sent_ = 0;
    passText_ = "WSPR " + values.call + " " + values.locator + " " + std::to_string(values.powerDbm);
    // The first frame whose moves can still be handed the full lead ahead.
    const std::int64_t earliest = nowUtcMs_() + wsprpass::kMovesLeadMs;
    aimAt((earliest + kFrameMs - 1) / kFrameMs * kFrameMs);
}

void WsprBeacon::disarm() {
    const bool was = armed();
    timer_.setEnabled(false);
    schedule_.reset();
    // A pass on the air keeps its moves; its end lets go of them.
    if (!transmission_.onAir())
        transmission_.dropHandedMoves();
    if (was)
        changed();
}

std::optional<std::int64_t> WsprBeacon::nextFrameUtcMs() const {
    if (!armed())
        return std::nullopt;
    return frameUtcMs_;
}

std::optional<WsprBeacon::SymbolSent> WsprBeacon::symbolAt(std::int64_t utcMs) const {
    if (!passFrameUtcMs_ || !transmission_.onAir())
        return std::nullopt;
    const std::int64_t sinceFirstNs = (utcMs - *passFrameUtcMs_ - wsprpass::kFirstSymbolMs) * 1'000'000;
    if (sinceFirstNs < 0 || sinceFirstNs >= wsprpass::symbolStartNs(wspr::kSymbolCount))
        return std::nullopt;
    int k = static_cast<int>(sinceFirstNs / wsprpass::symbolStartNs(1));
    while (k + 1 < wspr::kSymbolCount && wsprpass::symbolStartNs(k + 1) <= sinceFirstNs)
        ++k;
    while (k > 0 && wsprpass::symbolStartNs(k) > sinceFirstNs)
        --k;
    return SymbolSent{k, (*passSymbols_)[static_cast<std::size_t>(k)]};
}

void WsprBeacon::aimAt(std::int64_t frameUtcMs) {
    frameUtcMs_ = frameUtcMs;
    leading_ = true;
    setAlarm(frameUtcMs - wsprpass::kMovesLeadMs);
    changed();
}

void WsprBeacon::setAlarm(std::int64_t atUtcMs) {
    // From the UTC clock at each setting, so the monotonic timer follows a clock that was stepped.
    const std::int64_t inMs = std::clamp<std::int64_t>(atUtcMs - nowUtcMs_(), 0, INT_MAX);
    timer_.setEnabled(false);
    timer_.setInterval(static_cast<int>(inMs));
    timer_.setEnabled(true);
}

void WsprBeacon::alarm() {
    timer_.setEnabled(false);
    if (!armed())
        return;
    if (leading_)
        lead();
    else
        startPass();
}

void WsprBeacon::lead() {
    leading_ = false;
    // The operator's own message on the air: no pass can start in this frame.
    if (transmission_.onAir() || !schedule_->sendsInNextFrame()) {
        frameLeftOut(frameUtcMs_, false);
        aimAt(frameUtcMs_ + kFrameMs);
        return;
    }
    transmission_.handPassMovesAhead(schedule_->upcomingPass(), frameUtcMs_ - nowUtcMs_());
    setAlarm(frameUtcMs_);
}

void WsprBeacon::startPass() {
    const std::int64_t frame = frameUtcMs_;
    // A frame much too late, or one that finds the transmitter busy with something else, is left out; the
    // next frame is aimed at either way, before sending can fail.
    const bool late = nowUtcMs_() - frame > kTooLateMs;
    aimAt(frame + kFrameMs);
    if (late || transmission_.onAir()) {
        // What is on the air lets go of the moves as it ends.
        if (!transmission_.onAir())
            transmission_.dropHandedMoves();
        frameLeftOut(frame, late);
        return;
    }
    passFrameUtcMs_ = frame;
    passSymbols_ = schedule_->message(sent_++);
    if (transmission_.mode().label != kModeLabel)
        presets_.chooseMode({kModeLabel, {}});
    loopToRestore_ = transmission_.loop();
    transmission_.setLoop(false);
    transmission_.sendPass(passText_, schedule_->nextPass());
    changed();
}

} // namespace tarvel::keyer
