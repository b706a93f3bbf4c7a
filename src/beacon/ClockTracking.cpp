#include "beacon/ClockTracking.h"

#include <cmath>

namespace tarvel::beacon {

std::optional<double> ClockTracking::update() {
    fit_.keepLast(kWindowSeconds);
    latest_ = fit_.estimate();
    if (!latest_.valid || latest_.uncertaintyPpm >= kThresholdPpm)
        return std::nullopt;
    const double wanted = audio::correctedFactor(base_, cancelled_, latest_.offsetPpm);
    if (std::abs(wanted / inForce_ - 1.0) * 1e6 <= kThresholdPpm)
        return std::nullopt;
    inForce_ = wanted;
    return wanted;
}

} // namespace tarvel::beacon
