#include "platform/ClockDiscipline.h"

#include <sys/timex.h>

namespace tarvel::platform {

ClockDisciplineState KernelClockDiscipline::state() const {
    timex tx{}; // modes 0: only reads
    const int result = adjtimex(&tx);
    ClockDisciplineState state;
    state.synchronised = result >= 0 && result != TIME_ERROR && !(tx.status & STA_UNSYNC);
    state.estimatedErrorUs = tx.esterror;
    return state;
}

} // namespace tarvel::platform
