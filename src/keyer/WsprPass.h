#pragma once
// A WSPR-2 pass as the keyer's plan sends it: PTT at the frame's start, the carrier from the first symbol,
// one second later, to the end of the last; each symbol is a move of VFO A without a phase jump, so VFO A
// itself is the frequency a decoder reports. The timing is exact to the nanosecond from the first symbol.
#include "keyer/Wspr.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarvel::keyer::wsprpass {

// The sequence symbols of a pass: "<" (PTT, the pause to the first symbol), kSymbolsMarker followed by the
// 162 symbols as the digits 0 to 3, and kCarrierEnd (key and PTT low).
inline constexpr char kSymbolsMarker = '{';
inline constexpr char kCarrierEnd = '}';

inline constexpr std::int64_t kFirstSymbolMs = 1000; // the frame's start to the first symbol
inline constexpr std::int64_t kSymbolsMs = 110'592;  // 162 symbols of 8192/12000 s
inline constexpr std::int64_t kPassMs = kFirstSymbolMs + kSymbolsMs;
// A pass's moves go to the tone this long before its frame: the sound card plays up to 1.5 s after the
// worker writes, more than the second from PTT to the first symbol.
inline constexpr std::int64_t kMovesLeadMs = 3000;
inline constexpr double kToneSpacingHz = 12000.0 / 8192.0; // exact in binary

// Symbol k (0 to 162) starts this long after the first one: k x 8192/12000 s, rounded to the nanosecond
// from the first symbol, so no error adds up.
std::int64_t symbolStartNs(int k);
// Symbol s (0 to 3) is sent (s - 1.5) tone spacings from VFO A at the radio frequency.
double symbolOffsetHz(std::uint8_t symbol);

// The element sequence of a pass sending these symbols.
std::string sequence(const wspr::Symbols& symbols);

// Which frames carry a pass, and what each pass sends: txPercent of the frames, each drawn on its own, so
// that stations sharing a frequency do not keep meeting in the same frames; the messages of a pair
// alternate over the passes actually sent.
class Schedule {
public:
    // draw: a uniform 64-bit number for each frame; a std::mt19937_64 seeded from std::random_device
    // unless given.
    Schedule(std::vector<wspr::Symbols> messages, int txPercent, std::function<std::uint64_t()> draw = {});

    // One draw for the frame to come: whether it carries a pass.
    bool sendsInNextFrame();
    // The sequence of the pass about to be sent; the next pass sends the other message of a pair.
    std::string nextPass();
    // The same without moving on.
    std::string upcomingPass() const { return sequence(message(sent_)); }
    // The message of the pass at index (0: the first sent), without moving on.
    const wspr::Symbols& message(int index) const;

private:
    std::vector<wspr::Symbols> messages_;
    int txPercent_;
    std::function<std::uint64_t()> draw_;
    int sent_ = 0;
};

} // namespace tarvel::keyer::wsprpass
