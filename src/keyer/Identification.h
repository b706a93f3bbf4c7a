#pragma once
// The station identification sent around a beacon message: its texts, whether each is sent, the speeds
// the operator picked for them, and the stored speed choices.
#include "keyer/TransmissionEstimate.h"
#include "platform/Notice.h"

#include <cstdint>
#include <string>

namespace tarvel::keyer {

struct Identification {
    std::string startText; // Windows-1251
    std::string endText;
    bool sendStart = false;
    bool sendEnd = false;
    // Which speed each ID is sent at, as the panel shows it; CW for both as the panel starts.
    IdSpeeds speeds{true, false, true, false};
    // The stored choices ("id", "ids"): 1 = CW, 2 = QRSS3, anything else none. They follow the operator's
    // clicks only, so they may differ from the speeds shown.
    std::int32_t endSpeedSetting = 0;
    std::int32_t startSpeedSetting = 0;

    // The panel's "Ok": the values to be stored (id, IDStart, IDEnd, ids, in this order) are told.
    void save() const { saved(*this); }
    platform::Notice<const Identification&> saved;
};

} // namespace tarvel::keyer
