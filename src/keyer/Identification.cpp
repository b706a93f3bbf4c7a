#include "keyer/Identification.h"

namespace tarvel::keyer {

void Identification::save(settings::IniFile& settings) const {
    settings.writeInteger("id", endSpeedSetting);
    settings.writeText("IDStart", startText);
    settings.writeText("IDEnd", endText);
    settings.writeInteger("ids", startSpeedSetting);
}

} // namespace tarvel::keyer
