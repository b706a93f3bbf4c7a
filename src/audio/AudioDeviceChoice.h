#pragma once
// Which sound output the stream opens: the "AudioDevice" setting, chosen among the PCMs present. The
// stream reads the setting at each Start, so a new choice applies from the next Start. Called on the
// user-interface thread.
#include "platform/DeviceList.h"
#include "platform/Notice.h"
#include "settings/IniFile.h"

#include <string>
#include <vector>

namespace tarvel::audio {

class AudioDeviceChoice {
public:
    AudioDeviceChoice(const platform::DeviceList& pcms, const settings::IniFile& ini)
        : pcms_(pcms), ini_(ini) {}

    // The PCM in use: the stored name, "default" when none is stored.
    std::string inUse() const;
    // The PCMs present, and after them the one in use when it is not among them (a name written into
    // the settings file by hand, a card unplugged), so that the operator still sees it.
    std::vector<platform::DeviceChoice> offered() const;
    // Why pcm may not be chosen (a name that is not plain, while the settings file does not allow any),
    // or empty.
    std::string refusal(const std::string& pcm) const;
    // Tells the PCM name to be stored (chosen); a blank name, or the one in use, is not told. A refused
    // name throws platform::Failure with the refusal, and is not told either.
    void choose(const std::string& pcm);
    platform::Notice<const std::string&> chosen;

private:
    const platform::DeviceList& pcms_;
    const settings::IniFile& ini_;
};

} // namespace tarvel::audio
