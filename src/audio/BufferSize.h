#pragma once
// The buffer-size setting's range in KiB, and its value before start-up restores one.
#include <cstdint>

namespace tarvel::audio {

struct BufferSizeKiB {
    std::int32_t min;
    std::int32_t max;
    std::int32_t design;
};

inline constexpr BufferSizeKiB bufferSizeKiB{16, 64, 64};

} // namespace tarvel::audio
