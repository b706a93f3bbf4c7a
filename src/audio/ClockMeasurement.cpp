#include "audio/ClockMeasurement.h"

namespace tarvel::audio {

void ClockMeasurement::take() {
    if (stream_.latestWorker() != worker_) {
        // The device a stream opens is the one chosen when it started: read once per stream.
        worker_ = stream_.latestWorker();
        pcm_ = device_.inUse();
        fit_ = ClockFit();
        if (!isHardwarePcm(pcm_))
            fit_.setSoundServer();
    }
    stream_.takeClockPairs([this](const ClockPair& pair) { fit_.add(pair); });
    fit_.keepLast(kKeptSeconds);
}

std::optional<double> ClockMeasurement::proposedFactor(double factorInForce, const ClockEstimate& e) const {
    if (!e.valid || !cancelled_.refusal.empty())
        return std::nullopt;
    return correctedFactor(factorInForce, cancelled_.ppm, e.offsetPpm);
}

void ClockMeasurement::applied(double offsetPpm) {
    const CancelledOffset before = cancelled_;
    cancelled_ = {offsetPpm, {}};
    try {
        cancelledChanged(offsetPpm);
    } catch (...) {
        cancelled_ = before; // not stored: the stored factor still cancels the offset it did
        throw;
    }
}

} // namespace tarvel::audio
