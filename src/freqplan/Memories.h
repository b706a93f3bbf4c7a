#pragma once
// The eighteen VFO A memories: 1 … 4 on the main window, 5 … 18 on the keypad window; told at once to be
// stored in the settings file, recalled from it.
#include "freqplan/FrequencyPlan.h"
#include "platform/Notice.h"
#include "settings/IniFile.h"

#include <array>
#include <cstdint>

namespace tarvel::freqplan {

struct Memory {
    std::int32_t coarseHz = 0;
    std::int32_t fineCentiHz = 0;
};

class Memories {
public:
    static constexpr int kCount = 18;

    Memories(const FrequencyPlan& plan, const settings::IniFile& settings);

    // k = 1 … 18; any other k does nothing.
    // Keeps VFO A as the plan last tuned it in memory k, and tells it (stored).
    void store(int k);
    // What recalling memory k tunes VFO A to. The file is the authority: a fine value stored in an earlier
    // run comes back too.
    Memory recalled(int k) const;
    // Start-up: the stored coarse value of memory k.
    void loadCoarse(int k, std::int32_t hz);

    std::int32_t coarse(int k) const { return memories_.at(static_cast<std::size_t>(k - 1)).coarseHz; }
    std::int32_t fine(int k) const { return memories_.at(static_cast<std::size_t>(k - 1)).fineCentiHz; }

    // Memory k as store() just kept it.
    platform::Notice<int, const Memory&> stored;

private:
    const FrequencyPlan& plan_;
    const settings::IniFile& settings_;
    std::array<Memory, kCount> memories_{};
};

} // namespace tarvel::freqplan
