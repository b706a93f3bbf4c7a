#pragma once
// The unattended beacon's passes: the tone on first, then each pass started on its schedule and followed
// to its end, until the count is sent or the beacon is stopped. Without a frame the passes follow each
// other as the window's loop sends them (PTT stays on between them); with one, each pass raises PTT at the
// start of its frame and both lines are low between passes while the tone plays on. A pass keeps every
// element's full length: one whose alarm comes a little late runs from that moment, one that comes later is
// skipped for the next frame. Runs on virtual time in tests and the dry run, on the system clock in the
// program.
#include "beacon/Options.h"
#include "beacon/Station.h"
#include "keyer/WsprPass.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tarvel::beacon {

// A wake-up at a UTC time; a time already past fires at the next opportunity.
class Alarm {
public:
    virtual ~Alarm() = default;
    virtual void at(std::int64_t utcMs) = 0;
    virtual void cancel() = 0;
    std::function<void()> onTime;
    // After the UTC clock was set forward (positive) or back by stepMs, whether or not a wake-up is pending.
    std::function<void(std::int64_t stepMs)> onClockStep;
};

// An alarm on a Timer, to the millisecond: the virtual time of tests and the dry run.
class TimerAlarm : public Alarm {
public:
    TimerAlarm(platform::Timer& timer, std::function<std::int64_t()> nowUtcMs);
    void at(std::int64_t utcMs) override;
    void cancel() override;

private:
    platform::Timer& timer_;
    std::function<std::int64_t()> nowUtcMs_;
};

// A pass's progress, for the operator's lines.
struct ElementShown {
    std::int64_t atUtcMs = 0;
    keyer::Element element = keyer::Element::OpeningPause;
    std::int64_t passEndUtcMs = 0;
};

class Beacon {
public:
    // passLengthMs: one pass, PTT on to PTT off, for the expected end of each pass.
    Beacon(Station& station, Alarm& alarm, std::function<std::int64_t()> nowUtcMs, const Options& options,
           std::string message, std::int64_t passLengthMs);
    ~Beacon();
    Beacon(const Beacon&) = delete;
    Beacon& operator=(const Beacon&) = delete;

    // WSPR-2: the passes send these messages in the frames the schedule draws, quoting the message given
    // to the constructor in the log; each frame is drawn, and its pass's moves handed to the tone, a few
    // seconds before it. Before begin().
    void sendWspr(keyer::wsprpass::Schedule schedule) { wspr_.emplace(std::move(schedule)); }

    // Starts the tone and schedules the first pass. Throws what starting the tone throws.
    void begin();
    // The end by a signal: a transmission on the air ends as Stop TX ends it; then finished(0).
    void stop();
    // A failure reported while running: what is on the air ends, then finished(1); also reported just after
    // the run ended on the pass it cut short, which then ends with 1 after all.
    void fail();
    // The program is about to be stopped (Ctrl+Z): a pass on the air ends as Stop TX ends it, and no pass
    // starts until resume(). The cut pass counts as sent.
    void pause();
    // The program runs again: the passes carry on, the next one in the first frame still to come (at once
    // without frames).
    void resume();

    bool done() const { return done_; }
    int passesStarted() const { return started_; }

    // Just before a pass raises PTT, with its frame's start (without a frame: the time it starts).
    std::function<void(std::int64_t startUtcMs)> passStarting;
    std::function<void(std::int64_t startUtcMs)> passScheduled;
    // A frame's pass that is not sent because the alarm came lateMs after the frame began.
    std::function<void(std::int64_t frameUtcMs, std::int64_t lateMs)> passSkipped;
    // A frame that the draw of --tx-percent left out.
    std::function<void(std::int64_t frameUtcMs)> frameLeftOut;
    // The UTC clock was set forward (positive) or back by stepMs.
    std::function<void(std::int64_t stepMs)> clockStepped;
    std::function<void(const ElementShown&)> elementShown;
    // Once with the exit status, and once more with 1 when a failure is told after an end with 0.
    std::function<void(int status)> finished;

private:
    void schedule(std::int64_t notBeforeUtcMs);
    void scheduleNextFrame();
    void startPass();
    // A WSPR frame's draw, and the moves of its pass handed to the tone ahead of it.
    void leadPass();
    void stepClock(std::int64_t stepMs);
    void passBegan();
    void passOver();
    void takeOffAir();
    void end(int status);
    void finish(int status);
    bool morePasses() const { return options_.loop || started_ < options_.count; }

    Station& station_;
    Alarm& alarm_;
    std::function<std::int64_t()> nowUtcMs_;
    Options options_;
    std::string message_;
    std::optional<keyer::wsprpass::Schedule> wspr_;
    std::int64_t passLengthMs_;
    std::int64_t passStartUtcMs_ = 0;
    std::int64_t plannedFrameUtcMs_ = 0;         // the alarm's
    std::optional<std::int64_t> sentFrameUtcMs_; // of the last pass started
    int started_ = 0;
    bool onAir_ = false;
    bool leading_ = false; // the alarm is for the moves ahead of the frame, not the frame
    bool paused_ = false;
    bool ending_ = false;
    bool failed_ = false;
    bool done_ = false;
    int status_ = 0;
    // The transmission's notices outlive a beacon: its listeners ask this whether the beacon still listens.
    std::shared_ptr<Beacon*> listening_ = std::make_shared<Beacon*>(this);
};

} // namespace tarvel::beacon
