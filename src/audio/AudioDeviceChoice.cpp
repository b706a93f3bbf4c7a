#include "audio/AudioDeviceChoice.h"

#include "audio/PcmName.h"
#include "platform/Failure.h"
#include "settings/Keys.h"

#include <algorithm>

namespace tarvel::audio {

std::string AudioDeviceChoice::inUse() const {
    return ini_.read(settings::keys::audioDevice);
}

std::vector<platform::DeviceChoice> AudioDeviceChoice::offered() const {
    std::vector<platform::DeviceChoice> pcms = pcms_.present();
    const std::string current = inUse();
    if (std::none_of(pcms.begin(), pcms.end(), [&](const auto& pcm) { return pcm.name == current; }))
        pcms.push_back({current, "not present now"});
    return pcms;
}

std::string AudioDeviceChoice::refusal(const std::string& pcm) const {
    return pcmRefusal(pcm, ini_);
}

void AudioDeviceChoice::choose(const std::string& pcm) {
    if (pcm.find_first_not_of(" \t") == std::string::npos || pcm == inUse())
        return;
    if (const std::string why = refusal(pcm); !why.empty())
        throw platform::Failure(why);
    chosen(pcm);
}

} // namespace tarvel::audio
