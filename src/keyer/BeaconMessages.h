#pragma once
// The four stored beacon messages, and the beacon clock that ticks on its timer and marks each new day in
// the activity log. Called on the user-interface thread.
#include "log/Logbook.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/Notice.h"
#include "platform/Timer.h"

#include <array>
#include <functional>
#include <string>
#include <utility>

namespace tarvel::keyer {

class BeaconMessages {
public:
    static constexpr int kCount = 4;

    // Message k, 1 to 4, Windows-1251.
    const std::string& text(int k) const { return texts_[k - 1]; }
    void setText(int k, std::string text) { texts_[k - 1] = std::move(text); }
    // Start TX keeps them: each told as stored, TXT1 to TXT4 in this order.
    void store() const;
    platform::Notice<int, const std::string&> stored; // k, its text

private:
    std::array<std::string, kCount> texts_;
};

class BeaconClock {
public:
    static constexpr int kClockIntervalMs = 1000;

    // Takes the clock timer's tick (a failure there is shown and the clock goes on with the next tick).
    // Start-up enables the timer; it runs until exit.
    BeaconClock(log::Logbook& log, const platform::Clock& clock, platform::Timer& ticks,
                platform::MessageSink& sink);

    // The time of day for the display, and at "0:00:00" the log's day change. The day change is
    // recognised from the text alone: a tick that misses the midnight second writes no line, two ticks
    // within it write two.
    void tick();
    // The time of day, long format, after each tick.
    platform::Notice<std::string> onTime;

private:
    log::Logbook& log_;
    const platform::Clock& clock_;
};

} // namespace tarvel::keyer
