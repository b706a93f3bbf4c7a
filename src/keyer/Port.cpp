#include "keyer/Port.h"

#include "settings/Keys.h"

namespace tarvel::keyer {

// A missing name reads as the device the transmitter starts with.
static_assert(settings::keys::port1Device.absent == std::string_view(TransmitterControl::kDefaultPort1));
static_assert(settings::keys::port2Device.absent == std::string_view(TransmitterControl::kDefaultPort2));

Port::Port(ControlLines& lines) : transmitter_(lines, keyLineChoice) {}

void Port::open(const PortChoice& shown) {
    if (!transmitter_.portOpened())
        transmitter_.setPortNames(shown.port1, shown.port2);
    transmitter_.openPort(shown.com);
}

void Port::save(const PortChoice& shown) {
    portChoice = shown.com;
    keyLineChoice = shown.keyLine;
    saved(shown);
}

} // namespace tarvel::keyer
