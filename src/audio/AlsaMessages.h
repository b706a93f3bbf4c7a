#pragma once
// ALSA's library prints its complaints straight to standard error ("ALSA lib pcm.c:…"). A program that
// words its own messages keeps the latest complaint instead and says it as the reason. Any thread.
#include <string>

namespace tarvel::audio {

// From now on ALSA's messages are kept, not printed.
void keepAlsaMessages();
// The latest kept message, without ALSA's source position; empty when there was none.
std::string latestAlsaMessage();

} // namespace tarvel::audio
