#include "freqplan/Memories.h"

#include <string>

namespace tarvel::freqplan {
namespace {

bool valid(int k) {
    return k >= 1 && k <= Memories::kCount;
}

} // namespace

Memories::Memories(const FrequencyPlan& plan, settings::IniFile& settings)
    : plan_(plan), settings_(settings) {}

void Memories::store(int k) {
    if (!valid(k))
        return;
    Memory& m = memories_[static_cast<std::size_t>(k - 1)];
    m = {plan_.tunedCoarseHz(), plan_.tunedFineCentiHz()};
    const std::string n = std::to_string(k);
    settings_.writeInteger("freq" + n, m.coarseHz);
    settings_.writeInteger("01x" + n, m.fineCentiHz);
}

Memory Memories::recalled(int k) const {
    if (!valid(k))
        return {};
    const Memory& m = memories_[static_cast<std::size_t>(k - 1)];
    const std::string n = std::to_string(k);
    return {settings_.readInteger("freq" + n, m.coarseHz), settings_.readInteger("01x" + n, m.fineCentiHz)};
}

void Memories::loadCoarse(int k, std::int32_t hz) {
    if (valid(k))
        memories_[static_cast<std::size_t>(k - 1)].coarseHz = hz;
}

} // namespace tarvel::freqplan
