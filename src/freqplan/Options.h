#pragma once
// The options' own settings: which VFOs the compact layout keeps, and VFO A's tuning range.
#include "platform/Notice.h"

#include <cstdint>

namespace tarvel::freqplan {

class Options {
public:
    // Below this maximum the stored range is not taken at start-up.
    static constexpr std::int32_t kLowestMaxHz = 22000;

    // Told as compactVfoAChosen and compactVfoBChosen, to be stored.
    void setCompactVfoA(bool shown) { compactVfoAChosen(shown); }
    void setCompactVfoB(bool shown) { compactVfoBChosen(shown); }

    // A range the tuning bar has taken: held, and told as tuningRangeSet.
    void setTuningRange(std::int32_t minHz, std::int32_t maxHz);
    // The range restored at start-up, held; false when it is no range to tune in (none stored, a maximum
    // below the lowest, or the limits the wrong way round).
    bool restoreTuningRange(std::int32_t minHz, std::int32_t maxHz);
    std::int32_t minHz() const { return minHz_; }
    std::int32_t maxHz() const { return maxHz_; }

    platform::Notice<bool> compactVfoAChosen;
    platform::Notice<bool> compactVfoBChosen;
    platform::Notice<std::int32_t, std::int32_t> tuningRangeSet; // minimum, maximum

private:
    std::int32_t minHz_ = 0;
    std::int32_t maxHz_ = 0;
};

} // namespace tarvel::freqplan
