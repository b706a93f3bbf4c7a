#include "audio/AlsaAudioDevice.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <string>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>
#include <utility>

namespace tarvel::audio {

namespace {

constexpr unsigned sampleRate = 44100;
constexpr unsigned channels = 2;
constexpr int maxPollFds = 16;
// A device that has taken no buffer for this many buffer periods has stalled (a sound server stopped or
// hung): the stream ends as on a lost device instead of waiting for it for good.
constexpr int stallPeriods = 3;
// A sound server may take a second or more to start playing a new stream: until the device has taken its
// first buffer, the wait allows at least this long.
constexpr std::chrono::milliseconds startGrace{2000};

} // namespace

void AlsaAudioDevice::PcmCloser::operator()(snd_pcm_t* pcm) const {
    snd_pcm_close(pcm);
}

AlsaAudioDevice::AlsaAudioDevice(std::string pcmName)
    : pcmName_(std::move(pcmName)), wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

AlsaAudioDevice::~AlsaAudioDevice() {
    pcm_.reset();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

std::function<std::unique_ptr<AudioDevice>()> AlsaAudioDevice::factory(std::string pcmName) {
    return [name = std::move(pcmName)]() -> std::unique_ptr<AudioDevice> {
        return std::make_unique<AlsaAudioDevice>(name);
    };
}

std::jthread AlsaAudioDevice::readConfigurationAhead() {
    // ALSA keeps the parsed tree for the process, under its own lock, and reads it again only when a
    // file changed.
    return std::jthread([] { snd_config_update(); });
}

bool AlsaAudioDevice::probe() {
    pcm_.reset();
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, pcmName_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return false;
    // Kept for open(): a sound server's connection is the slow part of both.
    pcm_.reset(pcm);
    return true;
}

bool AlsaAudioDevice::servedBySoundServer() const {
    // A sound server is reached through an I/O plug-in ("pulse", "pipewire", "jack" and a "default" that
    // leads to one); a plug-in that wraps another PCM may end at a sound card, so only this type counts.
    return pcm_ && snd_pcm_type(pcm_.get()) == SND_PCM_TYPE_IOPLUG;
}

bool AlsaAudioDevice::open(int framesPerBuffer) {
    // Without the wake descriptor a stop would have to wait out a whole buffer: refuse instead.
    if (wakeFd_ < 0)
        return fail("wake event", -EMFILE);
    if (framesPerBuffer <= 0)
        return fail("buffer size", -EINVAL);
    if (!pcm_) {
        snd_pcm_t* pcm = nullptr;
        if (const int err = snd_pcm_open(&pcm, pcmName_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
            err < 0)
            return fail("open", err);
        pcm_.reset(pcm);
    }
    framesPerBuffer_ = framesPerBuffer;
    taking_ = false;
    pending_ = nullptr;
    pendingFrames_ = 0;
    framesWritten_ = 0;
    if (!configure(framesPerBuffer)) {
        pcm_.reset();
        return false;
    }
    return true;
}

bool AlsaAudioDevice::configure(int framesPerBuffer) {
    snd_pcm_t* pcm = pcm_.get();
    snd_pcm_hw_params_t* hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    int err = 0;
    if ((err = snd_pcm_hw_params_any(pcm, hw)) < 0 ||
        (err = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0 ||
        (err = snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16_LE)) < 0 ||
        (err = snd_pcm_hw_params_set_channels(pcm, hw, channels)) < 0 ||
        (err = snd_pcm_hw_params_set_rate(pcm, hw, sampleRate, 0)) < 0)
        return fail("44100 Hz 16-bit stereo", err);
    // Two periods of one buffer each where the device allows; a device that insists on other sizes
    // gets the nearest it accepts, and the wait below copes with any ring size.
    snd_pcm_uframes_t period = static_cast<snd_pcm_uframes_t>(framesPerBuffer);
    int dir = 0;
    snd_pcm_hw_params_set_period_size_near(pcm, hw, &period, &dir);
    snd_pcm_uframes_t ring = 2 * period;
    snd_pcm_hw_params_set_buffer_size_near(pcm, hw, &ring);
    if ((err = snd_pcm_hw_params(pcm, hw)) < 0)
        return fail("hardware parameters", err);
    snd_pcm_hw_params_get_period_size(hw, &period, &dir);
    snd_pcm_hw_params_get_buffer_size(hw, &ring);
    periodFrames_ = static_cast<std::int64_t>(period);
    ringFrames_ = static_cast<std::int64_t>(ring);

    snd_pcm_sw_params_t* sw = nullptr;
    snd_pcm_sw_params_alloca(&sw);
    const snd_pcm_uframes_t availMin =
        std::min<snd_pcm_uframes_t>(period, static_cast<snd_pcm_uframes_t>(framesPerBuffer));
    // Playing starts when the ring is full, or earlier when the worker would otherwise block (see the
    // wait), so the first buffer never plays alone.
    if ((err = snd_pcm_sw_params_current(pcm, sw)) < 0 ||
        (err = snd_pcm_sw_params_set_start_threshold(pcm, sw, ring)) < 0 ||
        (err = snd_pcm_sw_params_set_avail_min(pcm, sw, availMin)) < 0 ||
        (err = snd_pcm_sw_params_set_tstamp_mode(pcm, sw, SND_PCM_TSTAMP_ENABLE)) < 0)
        return fail("software parameters", err);
    // Position reports stamped on the clock NTP disciplines; a PCM that refuses is measured against the
    // moment of each report instead (see playedPosition()).
    snd_pcm_sw_params_set_tstamp_type(pcm, sw, SND_PCM_TSTAMP_TYPE_MONOTONIC);
    if ((err = snd_pcm_sw_params(pcm, sw)) < 0)
        return fail("software parameters", err);
    const int count = snd_pcm_poll_descriptors_count(pcm);
    if (count < 0 || count >= maxPollFds)
        return fail("poll descriptors", count < 0 ? count : -EMFILE);
    if ((err = snd_pcm_prepare(pcm)) < 0)
        return fail("prepare", err);
    return true;
}

bool AlsaAudioDevice::submit(const std::int16_t* interleaved, int frames) {
    if (!pcm_)
        return fail("write", -EBADFD);
    pending_ = interleaved;
    pendingFrames_ = frames;
    return writePending();
}

bool AlsaAudioDevice::writePending() {
    while (pendingFrames_ > 0) {
        const snd_pcm_sframes_t written =
            snd_pcm_writei(pcm_.get(), pending_, static_cast<snd_pcm_uframes_t>(pendingFrames_));
        if (written == -EAGAIN)
            return true;
        if (written < 0) {
            if (!recover(static_cast<int>(written)))
                return false;
            continue;
        }
        framesWritten_ += written;
        pending_ += written * channels;
        pendingFrames_ -= static_cast<int>(written);
    }
    return true;
}

bool AlsaAudioDevice::recover(int error) {
    if (error == -EPIPE)
        underruns_.fetch_add(1);
    return snd_pcm_recover(pcm_.get(), error, 1) >= 0 || fail("playback", error);
}

bool AlsaAudioDevice::fail(const char* step, int error) {
    failure_ = pcmName_ + ": " + step + ": " + snd_strerror(error);
    return false;
}

bool AlsaAudioDevice::takeWake() {
    std::uint64_t count = 0;
    return read(wakeFd_, &count, sizeof count) == static_cast<ssize_t>(sizeof count);
}

bool AlsaAudioDevice::waitForCompletion() {
    if (!pcm_)
        return fail("wait", -EBADFD);
    snd_pcm_t* pcm = pcm_.get();
    // A ring too small for two buffers cannot take a whole one ahead: then the wait ends as soon as the
    // last buffer is handed over, and the worker fills the next while the ring drains.
    const bool roomyRing = ringFrames_ >= 2 * static_cast<std::int64_t>(framesPerBuffer_);
    using Clock = std::chrono::steady_clock;
    const auto stallLimit = std::chrono::milliseconds(
        (stallPeriods * 1000 * static_cast<std::int64_t>(framesPerBuffer_) + sampleRate - 1) / sampleRate);
    const Clock::time_point deadline =
        Clock::now() + (taking_ ? stallLimit : std::max(stallLimit, startGrace));
    for (;;) {
        if (!writePending())
            return false;
        // As a blocking write would: no extra sync with the device, whose poll wakes this wait.
        const snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm);
        if (avail < 0) {
            if (!recover(static_cast<int>(avail)))
                return false;
            continue;
        }
        if (pendingFrames_ == 0 && (!roomyRing || avail >= framesPerBuffer_))
            return true;
        // A wake given meanwhile leaves the event readable: the poll below returns at once for it.
        // About to block on a ring that is not playing yet: play what it holds.
        if (snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED) {
            const int err = snd_pcm_start(pcm);
            if (err < 0 && !recover(err))
                return false;
        }

        pollfd fds[maxPollFds];
        const int count = snd_pcm_poll_descriptors(pcm, fds, maxPollFds - 1);
        if (count < 0)
            return fail("poll descriptors", count);
        fds[count] = pollfd{wakeFd_, POLLIN, 0};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const int ready = poll(fds, static_cast<nfds_t>(count + 1),
                               static_cast<int>(std::max<std::int64_t>(0, left.count())));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return fail("poll", -errno);
        }
        if (ready == 0) {
            failure_ = pcmName_ + ": no buffer taken for " +
                       std::to_string((taking_ ? stallLimit : std::max(stallLimit, startGrace)).count()) +
                       " ms (the sound server or device stalled)";
            return false;
        }
        taking_ = true;
        if (fds[count].revents & POLLIN) {
            takeWake();
            return true;
        }
        unsigned short revents = 0;
        if (const int err =
                snd_pcm_poll_descriptors_revents(pcm, fds, static_cast<unsigned>(count), &revents);
            err < 0)
            return fail("poll events", err);
        if (revents & POLLERR) {
            switch (snd_pcm_state(pcm)) {
            case SND_PCM_STATE_XRUN:
                if (!recover(-EPIPE))
                    return false;
                break;
            case SND_PCM_STATE_SUSPENDED:
                if (!recover(-ESTRPIPE))
                    return false;
                break;
            case SND_PCM_STATE_DISCONNECTED:
                return fail("playback", -ENODEV);
            default:
                break;
            }
        }
    }
}

bool AlsaAudioDevice::playedPosition(PlayedPosition& position) {
    if (!pcm_)
        return false;
    snd_pcm_status_t* status = nullptr;
    snd_pcm_status_alloca(&status);
    if (snd_pcm_status(pcm_.get(), status) < 0 || snd_pcm_status_get_state(status) != SND_PCM_STATE_RUNNING)
        return false;
    snd_htimestamp_t stamp{};
    snd_pcm_status_get_htstamp(status, &stamp);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    constexpr std::int64_t second = 1'000'000'000;
    const std::int64_t nowNs = now.tv_sec * second + now.tv_nsec;
    std::int64_t stampNs = static_cast<std::int64_t>(stamp.tv_sec) * second + stamp.tv_nsec;
    // A PCM that leaves the stamp empty, or stamps on another clock, is taken at the moment of its report.
    if (stampNs <= 0 || stampNs > nowNs || nowNs - stampNs > second)
        stampNs = nowNs;
    position.frames = framesWritten_ - snd_pcm_status_get_delay(status);
    position.monotonicNs = stampNs;
    return true;
}

void AlsaAudioDevice::wake() {
    const std::uint64_t one = 1;
    // A full counter already means "wake": nothing to do when the write fails.
    if (wakeFd_ >= 0 && write(wakeFd_, &one, sizeof one) < 0)
        return;
}

void AlsaAudioDevice::reset() {
    if (pcm_)
        snd_pcm_drop(pcm_.get());
    framesWritten_ = 0;
    pending_ = nullptr;
    pendingFrames_ = 0;
}

void AlsaAudioDevice::close() {
    pcm_.reset();
    pending_ = nullptr;
    pendingFrames_ = 0;
}

} // namespace tarvel::audio
