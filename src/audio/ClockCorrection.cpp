#include "audio/ClockCorrection.h"

#include "platform/Cp1251.h"
#include "platform/Locale.h"
#include "settings/Keys.h"

#include <cmath>

namespace tarvel::audio {

CancelledOffset readCancelledOffset(const settings::IniReader& settings) {
    const std::string_view key = settings::keys::correctionCancelsPpm.name;
    const std::string text = settings.readText(key, "");
    if (text.find_first_not_of(' ') == std::string::npos)
        return {};
    // The reader would take a value it cannot convert as absent: a correction would then be worked out as
    // if the stored factor cancelled nothing.
    const std::optional<double> ppm = platform::parseDecimal(text);
    if (ppm && std::isfinite(*ppm) && std::abs(*ppm) <= kMaxCancelledPpm)
        return {*ppm, {}};
    return {0.0, "the stored clock offset " + std::string(key) + "=" + platform::cp1251ToUtf8(text) +
                     " is not a number of ppm from -10000 to 10000: remove the line or set it to 0, and "
                     "check \"Correct Freq\""};
}

} // namespace tarvel::audio
