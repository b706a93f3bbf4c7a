#pragma once
// The eighteen VFO A memories: 1 … 4 on the main window, 5 … 18 on the keypad window; stored in the
// settings file at once, recalled from it.
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "freqplan/FrequencyPlan.h"
#include "settings/IniFile.h"

#include <array>
#include <cstdint>

namespace tarvel::freqplan {

struct MemoriesControls {
    controls::SpinField& seRfreq;
    controls::SpinField& fineRfr;
    controls::Control& Edit1;
    std::array<controls::Button*, 4> BtF;  // recall 1 … 4, captions show the coarse values
    std::array<controls::Button*, 4> BtFw; // store 1 … 4
    controls::Form& TForm3;                // the keypad window
    std::array<controls::Button*, 14> Bt;  // keypad buttons for memories 5 … 18
};

class Memories {
public:
    static constexpr int kCount = 18;

    Memories(MemoriesControls controls, const FrequencyPlan& plan, settings::IniFile& settings);

    // k = 1 … 18.
    void store(int k);
    void recall(int k);
    void BtKnFClick();
    // Keypad button j = 1 … 14 serves memory j + 4: a right press stores, a left click recalls.
    void keypadMouseDown(int j, controls::MouseButton button);
    void keypadClick(int j);
    // Function key n (F1 = 1) pressed anywhere in the main window; never consumes the key.
    // F1 … F4 store memories 1 … 4, F8 lowers and F9 raises the fine value by 5.
    void FormShortCut(int functionKey);
    // Start-up: the stored coarse value of memory k, also the caption of BtF1 … BtF4.
    void loadCoarse(int k, std::int32_t value);

    std::int32_t coarse(int k) const { return coarse_.at(static_cast<std::size_t>(k - 1)); }
    std::int32_t fine(int k) const { return fine_.at(static_cast<std::size_t>(k - 1)); }

private:
    static std::string keypadCaption(std::int32_t hz);
    MemoriesControls c_;
    const FrequencyPlan& plan_;
    settings::IniFile& settings_;
    std::array<std::int32_t, kCount> coarse_{};
    std::array<std::int32_t, kCount> fine_{};
};

} // namespace tarvel::freqplan
