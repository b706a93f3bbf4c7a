#pragma once
// `tarvel beacon --track-clock`: the sound card's clock measured all the time the tone plays, over the last
// ten minutes so that the estimate follows a card warming up, and the correction that cancels it, changed
// only between passes and only when it is sure enough and has moved enough to matter.
#include "audio/ClockCorrection.h"
#include "audio/ClockFit.h"

#include <optional>
#include <string>

namespace tarvel::beacon {

class ClockTracking {
public:
    // The smallest change worth making, and the largest uncertainty it is made with.
    static constexpr double kThresholdPpm = 0.05;
    static constexpr double kWindowSeconds = 600.0;

    // baseFactor: the stored correction, which the measured offset is corrected from, and cancelledPpm the
    // offset it already cancels; pcmName: the device measured.
    ClockTracking(double baseFactor, double cancelledPpm, const std::string& pcmName)
        : base_(baseFactor), cancelled_(cancelledPpm), inForce_(baseFactor) {
        if (!audio::isHardwarePcm(pcmName))
            fit_.setSoundServer();
    }

    void add(const audio::ClockPair& pair) { fit_.add(pair); }

    // Between passes: the factor to put in force now, or none to keep the one in force.
    std::optional<double> update();

    const audio::ClockEstimate& latest() const { return latest_; }

private:
    audio::ClockFit fit_;
    audio::ClockEstimate latest_;
    double base_;
    double cancelled_;
    double inForce_;
};

} // namespace tarvel::beacon
