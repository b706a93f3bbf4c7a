#pragma once
// What the tone output loads at each start, taken from the frequency plan at that moment: the window and
// the unattended beacon start the same tone from the same plan.
#include "audio/ToneOutput.h"
#include "freqplan/FrequencyPlan.h"

namespace tarvel::freqplan {

inline audio::ToneSource toneSourceOf(const FrequencyPlan& plan) {
    return {[&plan] { return plan.tunedCoarseHz(); }, [&plan] { return plan.tunedFineCentiHz(); },
            [&plan] {
                return audio::ChannelValues{plan.vfoAWord(), plan.vfoAWaveform(), plan.vfoALevel()};
            },
            [&plan] {
                return audio::ChannelValues{plan.vfoBWord(), plan.vfoBWaveform(), plan.vfoBLevel()};
            }};
}

} // namespace tarvel::freqplan
