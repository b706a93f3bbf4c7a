#include "freqplan/Options.h"

#include "settings/Keys.h"

namespace tarvel::freqplan {

void Options::setCompactVfoA(bool shown) {
    settings_.write(settings::keys::compactShowsVfoA, shown ? 1 : 0);
}

void Options::setCompactVfoB(bool shown) {
    settings_.write(settings::keys::compactShowsVfoB, shown ? 1 : 0);
}

void Options::setTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    minHz_ = minHz;
    maxHz_ = maxHz;
    settings_.write(settings::keys::rangeMin, minHz);
    settings_.write(settings::keys::rangeMax, maxHz);
}

bool Options::restoreTuningRange(std::int32_t minHz, std::int32_t maxHz) {
    minHz_ = minHz;
    maxHz_ = maxHz;
    return maxHz > kLowestMaxHz && minHz <= maxHz;
}

} // namespace tarvel::freqplan
