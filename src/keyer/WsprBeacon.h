#pragma once
// The window's WSPR-2 beacon: the call, locator, power and share of frames the operator set, and, once
// armed, a pass in the even-UTC-minute frames its schedule draws. Each frame is drawn, and its pass's moves
// handed to the tone, a few seconds before it; the pass raises PTT at the frame's start and sends its first
// symbol a second later. The frame timer runs on the monotonic clock and is set again from the UTC clock
// at every frame, so a stepped system clock moves the next frame, not the one on the air. Called on the
// user-interface thread.
#include "keyer/Presets.h"
#include "keyer/Transmission.h"
#include "keyer/WsprPass.h"
#include "platform/Notice.h"
#include "platform/Timer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tarvel::keyer {

struct WsprValues {
    std::string call;
    std::string locator;
    std::int32_t powerDbm = 37;
    std::int32_t txPercent = 20;
    bool operator==(const WsprValues&) const = default;
};

class WsprBeacon {
public:
    static constexpr std::int64_t kFrameMs = 120'000;
    // A frame whose pass would start this late is left out: a decoder expects the symbols on time.
    static constexpr std::int64_t kTooLateMs = 900;

    // draw: as wsprpass::Schedule's (random unless given).
    // A pass is sent in the mode kModeLabel (the plan's own timing, whatever preset was chosen) and without
    // the loop, which comes back as it was when the pass is over.
    static constexpr const char* kModeLabel = "WSPR2";
    WsprBeacon(Transmission& transmission, Presets& presets, platform::Timer& frameTimer,
               std::function<std::int64_t()> nowUtcMs, std::function<std::uint64_t()> draw = {});
    ~WsprBeacon();
    WsprBeacon(const WsprBeacon&) = delete;
    WsprBeacon& operator=(const WsprBeacon&) = delete;

    // Start-up: the stored values, not told again.
    void load(const WsprValues& values) { values_ = values; }
    const WsprValues& values() const { return values_; }

    // "TX": values that encode are kept, told to be stored (accepted) and armed from the next frame; any
    // other is refused with a platform::Failure "WSPR: " + the encoder's reason, and nothing changes.
    void arm(const WsprValues& values);
    // No further pass: the frame timer stops and moves handed ahead are dropped. A pass on the air is the
    // transmission's to stop.
    void disarm();
    bool armed() const { return schedule_.has_value(); }
    // The frame the armed beacon waits for (its start, UTC ms).
    std::optional<std::int64_t> nextFrameUtcMs() const;
    // The symbol of the pass on the air at utcMs: its index (0 to 161) and value; empty between symbols.
    struct SymbolSent {
        int index;
        std::uint8_t value;
    };
    std::optional<SymbolSent> symbolAt(std::int64_t utcMs) const;

    platform::Notice<const WsprValues&> accepted;
    // Armed, disarmed, the next frame, a pass started or a frame left out.
    platform::Notice<> changed;
    // A frame the draw or a busy transmitter left out (false), or that came too late (true).
    platform::Notice<std::int64_t, bool> frameLeftOut;

private:
    void aimAt(std::int64_t frameUtcMs);
    void setAlarm(std::int64_t atUtcMs);
    void alarm();
    void lead();
    void startPass();

    Transmission& transmission_;
    Presets& presets_;
    platform::Timer& timer_;
    std::function<std::int64_t()> nowUtcMs_;
    std::function<std::uint64_t()> draw_;
    WsprValues values_;
    std::optional<wsprpass::Schedule> schedule_;
    std::string passText_;
    std::int64_t frameUtcMs_ = 0;
    bool leading_ = false; // the alarm is for the moves ahead of the frame, not the frame
    std::optional<std::int64_t> passFrameUtcMs_;
    std::optional<wspr::Symbols> passSymbols_;
    int sent_ = 0; // passes sent since armed
    std::optional<bool> loopToRestore_;
    // The transmission's notices outlive the beacon: its listener asks this whether the beacon still listens.
    std::shared_ptr<WsprBeacon*> listening_ = std::make_shared<WsprBeacon*>(this);
};

} // namespace tarvel::keyer
