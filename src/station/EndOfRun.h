#pragma once
// The last step of either front end, once the run has ended in order (lines low, port let go, log
// written).
#include "audio/OutputStream.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace tarvel::station {

// A sound device that stalled can leave a thread blocked inside the sound library for good. The process
// then ends at once, without the static destructors and library teardown that such a thread could
// deadlock or crash. Returns status otherwise.
inline int endOfRun(int status) {
    if (audio::OutputStream::anyLeftBehind()) {
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

} // namespace tarvel::station
