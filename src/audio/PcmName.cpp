#include "audio/PcmName.h"

#include "platform/Cp1251.h"
#include "settings/Keys.h"

#include <array>
#include <cstdio>

namespace tarvel::audio {
namespace {

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
// A word of a plain name: a device, a key or a value.
bool isWordChar(char c) {
    return isLetter(c) || isDigit(c) || c == '_' || c == '-' || c == '.';
}
bool isWord(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text)
        if (!isWordChar(c))
            return false;
    return true;
}

// The plugins that hand the sound to a file, a command or another program, even with plain arguments.
constexpr std::array<std::string_view, 3> kWritingPlugins{"file", "tee", "shm"};

std::string_view writingPlugin(std::string_view word) {
    for (const std::string_view plugin : kWritingPlugins)
        if (word == plugin)
            return plugin;
    return {};
}

std::string shown(char c) {
    if (c >= ' ' && c < 0x7f)
        return std::string("\"") + c + "\"";
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
    return code;
}

} // namespace

std::string whyNotPlainPcm(std::string_view pcm) {
    if (pcm.find_first_not_of(" \t") == std::string_view::npos)
        return {};
    if (pcm.find('|') != std::string_view::npos)
        return "it holds a pipe to a command";
    if (pcm.find_first_of("{}") != std::string_view::npos)
        return "it holds an inline definition in braces";
    if (pcm.find_first_of("\"'") != std::string_view::npos)
        return "it holds quotes";
    for (const char c : pcm)
        if (!isWordChar(c) && c != ':' && c != ',' && c != '=')
            return "it holds the character " + shown(c) + ", which a plain name does not need";

    // name, or name:ARG,ARG,... where each ARG is a value or KEY=value.
    const std::size_t colon = pcm.find(':');
    const std::string_view device = pcm.substr(0, colon);
    if (!isWord(device) || !isLetter(device.front()))
        return "it does not begin with a device name";
    if (const std::string_view plugin = writingPlugin(device); !plugin.empty())
        return "the " + std::string(plugin) + " plugin sends the sound to a file or another program";
    if (colon == std::string_view::npos)
        return {};
    std::string_view arguments = pcm.substr(colon + 1);
    for (;;) {
        const std::size_t comma = arguments.find(',');
        const std::string_view argument = arguments.substr(0, comma);
        const std::size_t equals = argument.find('=');
        const std::string_view value =
            equals == std::string_view::npos ? argument : argument.substr(equals + 1);
        if (equals != std::string_view::npos) {
            const std::string_view key = argument.substr(0, equals);
            if (!isWord(key) || !isLetter(key.front()))
                return "its argument \"" + std::string(argument) + "\" has no plain key";
        }
        if (!isWord(value))
            return "its argument \"" + std::string(argument) + "\" is not a plain value";
        if (const std::string_view plugin = writingPlugin(value); !plugin.empty())
            return "it names the " + std::string(plugin) +
                   " plugin, which sends the sound to a file or another program";
        if (comma == std::string_view::npos)
            return {};
        arguments.remove_prefix(comma + 1);
    }
}

std::string pcmRefusal(const std::string& pcm, const settings::IniFile& settings) {
    const std::string why = whyNotPlainPcm(pcm);
    if (why.empty() || settings.read(settings::keys::audioDeviceAnyPcm) == 1)
        return {};
    return "the audio device \"" + platform::cp1251ToUtf8(pcm) + "\" is refused: " + why + ". Add " +
           std::string(settings::keys::audioDeviceAnyPcm.name) + "=1 to the settings file " +
           settings.path() + " to allow any device name.";
}

} // namespace tarvel::audio
