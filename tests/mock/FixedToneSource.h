#pragma once
// A tone source with fixed values; VFO A's values fail with a frequency-word failure while `failure` holds
// its text.
#include "audio/ToneSource.h"
#include "platform/Failure.h"

#include <string>

namespace tarvel::mock {

struct FixedToneSource : audio::ToneSource {
    FixedToneSource(std::int32_t coarse, std::int32_t fine, audio::ChannelValues a, audio::ChannelValues b)
        : coarse(coarse), fine(fine), a(a), b(b) {}

    std::int32_t lastCoarse() const override { return coarse; }
    std::int32_t lastFine() const override { return fine; }
    audio::ChannelValues vfoA() const override {
        if (!failure.empty())
            throw platform::Failure(failure);
        return a;
    }
    audio::ChannelValues vfoB() const override { return b; }

    std::int32_t coarse, fine;
    audio::ChannelValues a, b;
    std::string failure;
};

} // namespace tarvel::mock
