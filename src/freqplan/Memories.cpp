#include "freqplan/Memories.h"

#include "settings/Keys.h"

#include <string>

namespace tarvel::freqplan {
namespace {

bool valid(int k) {
    return k >= 1 && k <= Memories::kCount;
}

} // namespace

Memories::Memories(const FrequencyPlan& plan, const settings::IniFile& settings)
    : plan_(plan), settings_(settings) {}

void Memories::store(int k) {
    if (!valid(k))
        return;
    Memory& m = memories_[static_cast<std::size_t>(k - 1)];
    m = {plan_.tunedCoarseHz(), plan_.tunedFineCentiHz()};
    stored(k, m);
}

Memory Memories::recalled(int k) const {
    if (!valid(k))
        return {};
    const Memory& m = memories_[static_cast<std::size_t>(k - 1)];
    return {settings_.read(settings::keys::memoryCoarse, k, m.coarseHz),
            settings_.read(settings::keys::memoryFine, k, m.fineCentiHz)};
}

void Memories::loadCoarse(int k, std::int32_t hz) {
    if (valid(k))
        memories_[static_cast<std::size_t>(k - 1)].coarseHz = hz;
}

} // namespace tarvel::freqplan
