#include "audio/AlsaPcmList.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <cstdlib>
#include <memory>

namespace tarvel::audio {

namespace {

// One field of a name hint; ALSA hands out a copy the caller frees.
std::string hintField(const void* hint, const char* field) {
    const std::unique_ptr<char, decltype(&std::free)> value(snd_device_name_get_hint(hint, field),
                                                            &std::free);
    return value ? std::string(value.get()) : std::string();
}

} // namespace

std::vector<platform::DeviceChoice> AlsaPcmList::present() const {
    std::vector<platform::DeviceChoice> pcms;
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) == 0) {
        for (void** hint = hints; *hint != nullptr; ++hint) {
            // No IOID: both directions.
            const std::string direction = hintField(*hint, "IOID");
            if (!direction.empty() && direction != "Output")
                continue;
            platform::DeviceChoice pcm{hintField(*hint, "NAME"), hintField(*hint, "DESC")};
            if (pcm.name.empty())
                continue;
            // A description spreads over lines (the card, then the use); the list shows one.
            for (std::size_t at; (at = pcm.description.find('\n')) != std::string::npos;)
                pcm.description.replace(at, 1, ", ");
            pcms.push_back(std::move(pcm));
        }
        snd_device_name_free_hint(hints);
    }
    // "default" exists in every configuration, listed or not, and comes first.
    const auto listed =
        std::find_if(pcms.begin(), pcms.end(), [](const auto& pcm) { return pcm.name == "default"; });
    if (listed == pcms.end())
        pcms.insert(pcms.begin(), {"default", "The system's default sound output"});
    else
        std::rotate(pcms.begin(), listed, listed + 1);
    return pcms;
}

} // namespace tarvel::audio
