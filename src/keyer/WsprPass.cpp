#include "keyer/WsprPass.h"

#include <memory>
#include <random>

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

Schedule::Schedule(std::vector<wspr::Symbols> messages, int txPercent, std::function<std::uint64_t()> draw)
    : messages_(std::move(messages)), txPercent_(txPercent), draw_(std::move(draw)) {
    if (!draw_) {
        auto engine = std::make_shared<std::mt19937_64>(std::random_device{}());
        draw_ = [engine] { return (*engine)(); };
    }
}

bool Schedule::sendsInNextFrame() {
    if (txPercent_ >= 100)
        return true;
    // The modulo's bias on 64 bits is far below one frame in a lifetime.
    return static_cast<int>(draw_() % 100) < txPercent_;
}

std::string Schedule::nextPass() {
    return sequence(message(sent_++));
}

const wspr::Symbols& Schedule::message(int index) const {
    return messages_[static_cast<std::size_t>(index) % messages_.size()];
}

} // namespace tarvel::keyer::wsprpass
