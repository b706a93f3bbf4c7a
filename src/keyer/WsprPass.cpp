#include "keyer/WsprPass.h"

namespace tarvel::keyer::wsprpass {

std::int64_t symbolStartNs(int k) {
    // k x 2,048,000,000 / 3 ns: the remainder is never a half, so adding 1 before the division rounds.
    return (std::int64_t{k} * 2'048'000'000 + 1) / 3;
}

double symbolOffsetHz(std::uint8_t symbol) {
    return (static_cast<double>(symbol) - 1.5) * kToneSpacingHz;
}

std::string sequence(const wspr::Symbols& symbols) {
    std::string out{'<', kSymbolsMarker};
    for (const std::uint8_t s : symbols)
        out += static_cast<char>('0' + (s & 3));
    out += kCarrierEnd;
    return out;
}

} // namespace tarvel::keyer::wsprpass
