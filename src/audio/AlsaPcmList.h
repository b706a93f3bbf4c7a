#pragma once
// The ALSA PCMs that can play, as the sound system's name hints list them, with "default" first.
#include "platform/DeviceList.h"

namespace tarvel::audio {

class AlsaPcmList final : public platform::DeviceList {
public:
    std::vector<platform::DeviceChoice> present() const override;
};

} // namespace tarvel::audio
