#pragma once
// A system clock whose synchronisation the test sets.
#include "platform/ClockDiscipline.h"

namespace tarvel::mock {

struct FixedClockDiscipline : platform::ClockDiscipline {
    platform::ClockDisciplineState fixed{true, 16};
    platform::ClockDisciplineState state() const override { return fixed; }
};

} // namespace tarvel::mock
