#pragma once
// The keyer's shared values: the keying mode in force, the copy taken at Start TX, and the state of the
// transmission on the air. Owned by the main window; used by Start TX, the sequencer, the presets and the
// message panels on the user-interface thread.
#include "keyer/KeyingValues.h"

#include <cstdint>
#include <string>

namespace tarvel::keyer {

struct KeyerState {
    KeyingValues keying;       // read afresh at every sequencer step
    KeyingValues savedMode;    // copied by Start TX, restored by "^" and Stop TX
    std::int32_t kk = 1;       // 1-based position in Ed3 of the next symbol
    std::int32_t txActive = 0; // a transmission started from a message panel is on
    std::int32_t audioWasPlaying = 0;
    std::string sentText;    // echoed characters of this pass, Windows-1251
    std::string messageText; // the message last started from a panel, quoted in the log
};

} // namespace tarvel::keyer
