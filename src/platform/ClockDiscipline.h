#pragma once
// Whether the system clock is kept on time by a time server (NTP), and how well: the reference against
// which the sound card's clock is measured.
#include <cstdint>

namespace tarvel::platform {

struct ClockDisciplineState {
    bool synchronised = false;
    std::int64_t estimatedErrorUs = 0; // the kernel's estimate; meaningful when synchronised
};

class ClockDiscipline {
public:
    virtual ~ClockDiscipline() = default;
    virtual ClockDisciplineState state() const = 0;
};

// The kernel's view, through adjtimex (read only).
class KernelClockDiscipline final : public ClockDiscipline {
public:
    ClockDisciplineState state() const override;
};

} // namespace tarvel::platform
