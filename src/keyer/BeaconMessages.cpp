#include "keyer/BeaconMessages.h"

#include "platform/Locale.h"

namespace tarvel::keyer {

void BeaconMessages::store() const {
    for (int k = 1; k <= kCount; ++k)
        stored(k, text(k));
}

BeaconClock::BeaconClock(log::Logbook& log, const platform::Clock& clock, platform::Timer& ticks,
                         platform::MessageSink& sink)
    : log_(log), clock_(clock) {
    ticks.setInterval(kClockIntervalMs);
    ticks.onTimeout = [this, &sink] { platform::runGuarded(sink, [this] { tick(); }); };
}

void BeaconClock::tick() {
    const std::string now = platform::formatLongTime(clock_.now());
    onTime(now);
    if (now == "0:00:00")
        log_.dayChange();
}

} // namespace tarvel::keyer
