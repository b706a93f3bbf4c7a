#include "keyer/Identification.h"

#include "settings/Keys.h"

namespace tarvel::keyer {

void Identification::save(settings::IniFile& settings) const {
    settings.write(settings::keys::endIdSpeed, endSpeedSetting);
    settings.write(settings::keys::startIdText, startText);
    settings.write(settings::keys::endIdText, endText);
    settings.write(settings::keys::startIdSpeed, startSpeedSetting);
}

} // namespace tarvel::keyer
