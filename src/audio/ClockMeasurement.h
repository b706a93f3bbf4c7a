#pragma once
// The window's measurement of the sound card's clock: the running stream's clock pairs fitted over the last
// hour, begun anew with every stream (a new start may open another device); the correction it proposes from
// the factor in force; and the offset the stored correction cancels, told to be stored when the operator
// applies a correction. Called on the user-interface thread.
#include "audio/AudioDeviceChoice.h"
#include "audio/ClockCorrection.h"
#include "audio/ClockFit.h"
#include "audio/OutputStream.h"
#include "platform/Notice.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tarvel::audio {

class ClockMeasurement {
public:
    // Enough for any offset a card has, and a bound on what a window left open for days holds.
    static constexpr double kKeptSeconds = 3600.0;

    ClockMeasurement(OutputStream& stream, const AudioDeviceChoice& device)
        : stream_(stream), device_(device) {}

    // Start-up: what the stored correction cancels, or why the stored value is refused.
    void restoreCancelled(CancelledOffset stored) { cancelled_ = std::move(stored); }
    const CancelledOffset& cancelled() const { return cancelled_; }

    // Takes the pairs played since the last call; a stream started since then begins a new measurement.
    void take();
    bool playing() const { return stream_.playing(); }
    // The latest stream's, also after it stopped; invalid before any.
    ClockEstimate estimate() const { return fit_.estimate(); }
    // The device the estimate is of; empty before the first stream.
    const std::string& device() const { return pcm_; }

    // The factor that cancels the estimate's offset, from the one in force; none without a valid estimate
    // or with a stored cancelled offset that is refused.
    std::optional<double> proposedFactor(double factorInForce, const ClockEstimate& estimate) const;
    // The operator put the factor proposed for offsetPpm in force: that offset is now the one cancelled.
    void applied(double offsetPpm);
    platform::Notice<double> cancelledChanged; // "CorrPpm"

private:
    OutputStream& stream_;
    const AudioDeviceChoice& device_;
    CancelledOffset cancelled_;
    ClockFit fit_;
    std::uint64_t worker_ = 0;
    std::string pcm_;
};

} // namespace tarvel::audio
