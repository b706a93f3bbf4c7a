#include "freqplan/Options.h"

namespace tarvel::freqplan {

void Options::setTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    minHz_ = minHz;
    maxHz_ = maxHz;
    tuningRangeSet(minHz, maxHz);
}

bool Options::restoreTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    minHz_ = minHz;
    maxHz_ = maxHz;
    return maxHz > kLowestMaxHz && minHz <= maxHz;
}

} // namespace tarvel::freqplan
