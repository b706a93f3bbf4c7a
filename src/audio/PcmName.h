#pragma once
// Which ALSA PCM names the stream opens as they stand. A plain name picks a card or a device that the
// sound system's configuration defines ("default", "pulse", "hw:0,0", "plughw:CARD=PCH,DEV=0"). Anything
// more can make the sound library write files or run commands (the file and tee plugins, a pipe, an
// inline definition), so it is refused unless the settings file allows any name. Called on the
// user-interface thread.
#include "settings/IniFile.h"

#include <string>
#include <string_view>

namespace tarvel::audio {

// Why pcm is not a plain PCM name, or empty when it is. A blank name is left to the device's own open.
std::string whyNotPlainPcm(std::string_view pcm);

// The one check both front ends make: why the stream may not open pcm, naming the device, the reason
// and the setting that allows it; empty when it may (a plain name, or any name while the settings
// file's "AudioDeviceAnyPcm" is 1).
std::string pcmRefusal(const std::string& pcm, const settings::IniFile& settings);

} // namespace tarvel::audio
