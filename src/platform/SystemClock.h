#pragma once
// The local wall clock of the machine, for the program. Called on the user-interface thread.
#include "platform/Clock.h"

namespace tarvel::platform {

class SystemClock : public Clock {
public:
    LocalTime now() const override;
};

} // namespace tarvel::platform
