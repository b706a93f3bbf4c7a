#include "audio/ClockFit.h"

#include <algorithm>
#include <cmath>

namespace tarvel::audio {
namespace {

// Short enough that a ten-minute run yields many independent stretches, long enough for a rate each.
constexpr double kBlockSeconds = 5.0;
// The stretches whose scatter bounds the uncertainty: enough for a fair spread, few enough to be long.
constexpr int kStretches = 8;
// A pair this far off the nominal rate's prediction from the pair before is a jump in the count (a device
// that reset it, a stalled server) when the next pair follows it, else a stray report. A sound server's
// delay wanders by a few milliseconds, and a stamp may come a little before the one before it.
constexpr double kStepFrames = 0.02 * ClockFit::kNominalHz;
constexpr double kStepRate = 1e-3;
// A report further off the first fit's line than this many robust standard deviations (from the median
// residual) is set aside; never one within a frame, the count's own step.
constexpr double kOutlierLimit = 5.0;
constexpr double kOutlierFloorFrames = 1.0;
// Pairs that must follow one off the line before it counts as a step: a server's hiccup lasts a few.
constexpr std::size_t kStepConfirmation = 8;
// The uncertainty told is two standard errors: the true offset lies within it about 19 times in 20.
constexpr double kCoverage = 2.0;

double slope(double stf, double stt) {
    return stt > 0 ? stf / stt : 0.0;
}

double ppm(double rateHz) {
    return (rateHz / ClockFit::kNominalHz - 1.0) * 1e6;
}

} // namespace

void ClockFit::Moments::add(double t, double f) {
    Moments one;
    one.n = 1;
    one.meanT = t;
    one.meanF = f;
    merge(one);
}

void ClockFit::Moments::merge(const Moments& other) {
    if (other.n == 0)
        return;
    const double total = n + other.n;
    const double dt = other.meanT - meanT;
    const double df = other.meanF - meanF;
    const double w = n * other.n / total;
    stt += other.stt + dt * dt * w;
    stf += other.stf + dt * df * w;
    sff += other.sff + df * df * w;
    meanT += dt * other.n / total;
    meanF += df * other.n / total;
    n = total;
}

void ClockFit::beginSegment(const ClockPair& pair) {
    ++segments_;
    run_ = pair.run;
    underruns_ = pair.underruns;
    originFrames_ = pair.frames;
    originNs_ = pair.monotonicNs;
    lastT_ = 0;
    lastF_ = 0;
    blocks_.push_back({{}, {}, segments_, 0.0, 0.0, originNs_});
}

bool ClockFit::follows(double fromT, double fromF, double t, double f) {
    return std::abs(f - (fromF + (t - fromT) * kNominalHz)) <=
           kStepFrames + kStepRate * std::abs(t - fromT) * kNominalHz;
}

void ClockFit::add(const ClockPair& pair) {
    const double t = static_cast<double>(pair.monotonicNs - originNs_) * 1e-9;
    const double f = static_cast<double>(pair.frames - originFrames_);
    if (segments_ == 0 || pair.run != run_ || pair.underruns != underruns_) {
        candidates_.clear();
        startSegment(pair);
        return;
    }
    if (t == lastT_ && f == lastF_)
        return; // the same report again
    if (!follows(lastT_, lastF_, t, f)) {
        // Off the line: a step once enough pairs follow it, stray reports if a pair comes back to the line.
        if (!candidates_.empty() && !follows(candidates_.back().t, candidates_.back().f, t, f))
            candidates_.clear();
        candidates_.push_back({pair, t, f});
        if (candidates_.size() >= kStepConfirmation) {
            const std::vector<Candidate> step = std::move(candidates_);
            candidates_.clear();
            startSegment(step.front().pair);
            for (std::size_t i = 1; i < step.size(); ++i)
                add(step[i].pair);
        }
        return;
    }
    candidates_.clear();
    lastT_ = t;
    lastF_ = f;
    if (t < settleSeconds_)
        return;
    if (blocks_.back().points.empty())
        blocks_.back().startT = t; // the segment's first pair past the settling
    else if (t - blocks_.back().startT >= kBlockSeconds)
        blocks_.push_back({{}, {}, segments_, t, t, originNs_});
    blocks_.back().moments.add(t, f);
    blocks_.back().points.push_back({t, f});
    blocks_.back().endT = std::max(blocks_.back().endT, t);
}

void ClockFit::startSegment(const ClockPair& pair) {
    beginSegment(pair);
    if (settleSeconds_ > 0)
        return;
    blocks_.back().moments.add(0.0, 0.0);
    blocks_.back().points.push_back({0.0, 0.0});
}

ClockFit::Pooled ClockFit::pool(const std::vector<Moments>& moments) const {
    Pooled pooled;
    std::vector<Moments> segments;
    std::vector<std::size_t> segmentOf;
    int current = 0;
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        if (blocks_[i].segment != current) {
            segments.emplace_back();
            current = blocks_[i].segment;
        }
        segments.back().merge(moments[i]);
        segmentOf.push_back(segments.size() - 1);
    }
    double stt = 0, stf = 0, sff = 0, n = 0;
    int used = 0;
    for (const Moments& m : segments) {
        if (m.n < 2)
            continue;
        stt += m.stt;
        stf += m.stf;
        sff += m.sff;
        n += m.n;
        ++used;
    }
    const double dof = n - used - 1;
    if (stt <= 0 || dof < 1)
        return pooled;
    pooled.valid = true;
    pooled.rate = slope(stf, stt);
    pooled.standardError = std::sqrt(std::max(0.0, sff - pooled.rate * stf) / dof / stt);
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        const Moments& m = segments[segmentOf[i]];
        pooled.intercepts.push_back(m.meanF - pooled.rate * m.meanT);
    }
    return pooled;
}

void ClockFit::keepLast(double seconds) {
    if (blocks_.empty())
        return;
    const double newestNs = static_cast<double>(originNs_) + lastT_ * 1e9;
    const auto old = std::find_if(blocks_.begin(), blocks_.end() - 1, [&](const Block& block) {
        return static_cast<double>(block.originNs) + block.endT * 1e9 >= newestNs - seconds * 1e9;
    });
    blocks_.erase(blocks_.begin(), old);
}

ClockEstimate ClockFit::estimate() const {
    ClockEstimate e;
    for (const Block& block : blocks_)
        e.pairs += static_cast<std::int64_t>(block.points.size());
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        const bool first = i == 0 || blocks_[i - 1].segment != blocks_[i].segment;
        const bool last = i + 1 == blocks_.size() || blocks_[i + 1].segment != blocks_[i].segment;
        if (first) {
            ++e.segments;
            e.seconds -= blocks_[i].startT;
        }
        if (last)
            e.seconds += blocks_[i].endT;
    }

    // The common rate with one intercept per segment; then again without the reports far off that line (a
    // sound server's client reports its delay tens of milliseconds off while the machine is busy).
    std::vector<Moments> moments;
    for (const Block& block : blocks_)
        moments.push_back(block.moments);
    if (const Pooled all = pool(moments); all.valid) {
        std::vector<double> residuals;
        for (std::size_t i = 0; i < blocks_.size(); ++i)
            for (const Point& p : blocks_[i].points)
                residuals.push_back(std::abs(p.f - all.intercepts[i] - all.rate * p.t));
        std::vector<double> sorted = residuals;
        const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
        std::nth_element(sorted.begin(), middle, sorted.end());
        const double limit = std::max(kOutlierLimit * 1.4826 * *middle, kOutlierFloorFrames);
        std::size_t k = 0;
        for (std::size_t i = 0; i < blocks_.size(); ++i) {
            moments[i] = {};
            for (const Point& p : blocks_[i].points) {
                if (residuals[k++] <= limit)
                    moments[i].add(p.t, p.f);
                else
                    ++e.setAside;
            }
        }
    }
    const Pooled kept = pool(moments);
    if (!kept.valid)
        return e;
    const double rate = kept.rate;
    const double fitError = kept.standardError;

    // Independent stretches of about equal length, none across a segment's start; their rates' scatter
    // about the mean, weighted as the fit weighs them.
    const std::size_t perStretch = std::max<std::size_t>(1, (blocks_.size() + kStretches / 2) / kStretches);
    std::vector<Moments> stretches;
    std::size_t inStretch = 0;
    int current = 0;
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        if (blocks_[i].segment != current || inStretch == perStretch) {
            stretches.emplace_back();
            current = blocks_[i].segment;
            inStretch = 0;
        }
        stretches.back().merge(moments[i]);
        ++inStretch;
    }
    double weights = 0, weighted = 0;
    int count = 0;
    for (const Moments& m : stretches) {
        if (m.n < 3 || m.stt <= 0)
            continue;
        weights += m.stt;
        weighted += m.stt * slope(m.stf, m.stt);
        ++count;
    }
    double spreadError = 0;
    if (count >= 3) {
        const double mean = weighted / weights;
        double scatter = 0;
        for (const Moments& m : stretches) {
            if (m.n < 3 || m.stt <= 0)
                continue;
            const double d = slope(m.stf, m.stt) - mean;
            scatter += m.stt * d * d;
        }
        spreadError = std::sqrt(scatter / ((count - 1) * weights));
    }

    e.valid = true;
    e.rateHz = rate;
    e.offsetPpm = ppm(rate);
    e.fitErrorPpm = fitError / kNominalHz * 1e6;
    e.spreadErrorPpm = spreadError / kNominalHz * 1e6;
    e.uncertaintyPpm = kCoverage * std::max(e.fitErrorPpm, e.spreadErrorPpm);
    if (e.seconds > 0)
        e.uncertaintyPpm = std::max(e.uncertaintyPpm, unseenWanderSeconds_ / e.seconds * 1e6);
    return e;
}

bool isHardwarePcm(const std::string& pcmName) {
    return pcmName.starts_with("hw:") || pcmName.starts_with("plughw:") || pcmName == "hw" ||
           pcmName == "plughw";
}

std::string measuredDeviceKind(const std::string& pcmName) {
    return isHardwarePcm(pcmName)
               ? "hardware device (the driver stamps its position)"
               : "sound server or plugin (its reported delay wanders; the uncertainty includes the "
                 "scatter of independent stretches)";
}

} // namespace tarvel::audio
