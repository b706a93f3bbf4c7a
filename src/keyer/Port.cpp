#include "keyer/Port.h"

namespace tarvel::keyer {

Port::Port(ControlLines& lines, settings::IniFile& settings)
    : settings_(settings), transmitter_(lines, [this] { return iRTS; }) {}

void Port::open(const PortChoice& shown) {
    if (!transmitter_.portOpened())
        transmitter_.setPortNames(shown.port1, shown.port2);
    transmitter_.openPort(shown.com);
}

void Port::save(const PortChoice& shown) {
    iCom = shown.com;
    iRTS = shown.keyLine;
    settings_.writeInteger("iCom", iCom);
    settings_.writeInteger("iRTS", iRTS);
    settings_.writeText(kPort1Key, shown.port1);
    settings_.writeText(kPort2Key, shown.port2);
}

void Port::loadNames() {
    port1_ = settings_.readText(kPort1Key, TransmitterControl::kDefaultPort1);
    port2_ = settings_.readText(kPort2Key, TransmitterControl::kDefaultPort2);
}

} // namespace tarvel::keyer
