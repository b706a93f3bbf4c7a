#pragma once
// The sound card's sample rate from the worker's clock pairs: a least-squares fit of frames played against
// the system clock, in segments (an underrun, a restart or a count that jumps begins a new one, with its
// own intercept and the common rate), with an uncertainty that also holds for a sound server, whose
// reported delay wanders by milliseconds: twice the larger of the fit's standard error and the standard
// error from the scatter of the rates of independent stretches of the run.
#include "audio/ClockPairs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvel::audio {

struct ClockEstimate {
    bool valid = false;          // enough pairs over enough time for a rate
    double rateHz = 0.0;         // the device's real frames per system-clock second
    double offsetPpm = 0.0;      // its offset from 44100 Hz
    double fitErrorPpm = 0.0;    // the fit's standard error
    double spreadErrorPpm = 0.0; // from the scatter of independent stretches; 0 while too few
    double uncertaintyPpm = 0.0; // twice the larger of the two (about 95 % coverage), or the unseen wander's
    double seconds = 0.0;        // system-clock time covered by the segments
    int segments = 0;
    std::int64_t pairs = 0;    // in the estimate's span
    std::int64_t setAside = 0; // reports far off the line, left out of the fit
};

class ClockFit {
public:
    static constexpr double kNominalHz = 44100.0;

    void add(const ClockPair& pair);
    ClockEstimate estimate() const;

    // A sound server's reported delay drifts and snaps back by a millisecond or two over minutes, slower
    // than a short run's stretches can show: through one, the uncertainty is at least that wander over the
    // time measured.
    static constexpr double kServerDelayWanderSeconds = 0.002;
    void setUnseenWander(double seconds) { unseenWanderSeconds_ = seconds; }
    // A sound server's position settles over the first seconds of a stream (its delay estimate starts from
    // a guess): through one, each segment's first seconds are followed for steps but left out of the fit.
    static constexpr double kServerSettleSeconds = 10.0;
    void setSettleTime(double seconds) { settleSeconds_ = seconds; }
    // The pairs come through a sound server (isHardwarePcm false): its unseen wander and settling time.
    void setSoundServer() {
        setUnseenWander(kServerDelayWanderSeconds);
        setSettleTime(kServerSettleSeconds);
    }
    // Forgets the pairs older than the newest by more than seconds (in whole blocks of a few seconds):
    // an estimate that follows a card warming up.
    void keepLast(double seconds);

    // The factor that cancels offsetPpm, from the one in force.
    static double correctedFactor(double factor, double offsetPpm) {
        return factor / (1.0 + offsetPpm * 1e-6);
    }

private:
    // Co-moments of (t, f) about their means, mergeable.
    struct Moments {
        double n = 0, meanT = 0, meanF = 0, stt = 0, stf = 0, sff = 0;
        void add(double t, double f);
        void merge(const Moments& other);
    };
    struct Point {
        double t = 0, f = 0;
    };
    struct Block {
        Moments moments;
        std::vector<Point> points;
        int segment = 0;
        double startT = 0;
        double endT = 0;           // the latest pair's
        std::int64_t originNs = 0; // its segment's
    };

    // The common rate of the blocks' moments, with one intercept per segment (given for each block).
    struct Pooled {
        bool valid = false;
        double rate = 0, standardError = 0;
        std::vector<double> intercepts;
    };
    Pooled pool(const std::vector<Moments>& moments) const;
    void beginSegment(const ClockPair& pair);
    void startSegment(const ClockPair& pair);
    static bool follows(double fromT, double fromF, double t, double f);

    // Pairs off the line, until enough follow them for a step, or one comes back to the line.
    struct Candidate {
        ClockPair pair;
        double t = 0, f = 0;
    };
    std::vector<Candidate> candidates_;

    std::vector<Block> blocks_; // a few seconds each, in order
    double unseenWanderSeconds_ = 0;
    double settleSeconds_ = 0;
    int segments_ = 0;
    std::uint64_t run_ = 0;
    std::int64_t underruns_ = 0;
    std::int64_t originFrames_ = 0;
    std::int64_t originNs_ = 0;
    double lastT_ = 0, lastF_ = 0;
};

// Whether the PCM name is a hardware device, whose driver stamps its position, rather than a sound server
// or plugin, whose reported delay wanders.
bool isHardwarePcm(const std::string& pcmName);
// The kind of device measured, in words.
std::string measuredDeviceKind(const std::string& pcmName);

} // namespace tarvel::audio
