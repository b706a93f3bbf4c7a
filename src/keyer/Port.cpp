#include "keyer/Port.h"

#include "settings/Keys.h"

namespace tarvel::keyer {

// A missing name reads as the device the transmitter starts with.
static_assert(settings::keys::port1Device.absent == std::string_view(TransmitterControl::kDefaultPort1));
static_assert(settings::keys::port2Device.absent == std::string_view(TransmitterControl::kDefaultPort2));

Port::Port(ControlLines& lines, settings::IniFile& settings)
    : settings_(settings), transmitter_(lines, keyLineChoice) {}

void Port::open(const PortChoice& shown) {
    if (!transmitter_.portOpened())
        transmitter_.setPortNames(shown.port1, shown.port2);
    transmitter_.openPort(shown.com);
}

void Port::save(const PortChoice& shown) {
    portChoice = shown.com;
    keyLineChoice = shown.keyLine;
    settings_.write(settings::keys::portChoice, static_cast<std::int32_t>(portChoice));
    settings_.write(settings::keys::keyLineChoice, static_cast<std::int32_t>(keyLineChoice));
    settings_.write(settings::keys::port1Device, shown.port1);
    settings_.write(settings::keys::port2Device, shown.port2);
}

} // namespace tarvel::keyer
