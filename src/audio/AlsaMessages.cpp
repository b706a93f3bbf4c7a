#include "audio/AlsaMessages.h"

#include <alsa/asoundlib.h>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace tarvel::audio {
namespace {

std::mutex latestMutex;
std::string latest;

void keep(const char*, int, const char*, int err, const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    std::string message = text;
    if (err != 0)
        message += std::string(": ") + snd_strerror(err);
    const std::lock_guard lock(latestMutex);
    latest = std::move(message);
}

} // namespace

void keepAlsaMessages() {
    snd_lib_error_set_handler(&keep);
}

std::string latestAlsaMessage() {
    const std::lock_guard lock(latestMutex);
    return latest;
}

} // namespace tarvel::audio
