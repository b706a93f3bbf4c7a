#include "freqplan/Options.h"

namespace tarvel::freqplan {

void Options::setCompactVfoA(bool shown) {
    settings_.writeInteger("VA", shown ? 1 : 0);
}

void Options::setCompactVfoB(bool shown) {
    settings_.writeInteger("VB", shown ? 1 : 0);
}

void Options::setTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    minHz_ = minHz;
    maxHz_ = maxHz;
    settings_.writeInteger("MinF", minHz);
    settings_.writeInteger("MaxF", maxHz);
}

bool Options::restoreTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    minHz_ = minHz;
    maxHz_ = maxHz;
    return maxHz > kLowestMaxHz && minHz <= maxHz;
}

} // namespace tarvel::freqplan
