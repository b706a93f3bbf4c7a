#include "audio/ToneOutput.h"

#include "audio/PcmName.h"
#include "platform/Failure.h"
#include "settings/Keys.h"

#include <algorithm>

namespace tarvel::audio {
namespace {

constexpr int kFrameRate = 44100;
// Buffer periods without a buffer taken after which the stream counts as lost.
constexpr int kStallPeriods = 3;
// A sound server may take a second or more to start playing a new stream: the watch begins after this.
constexpr int kStartGraceMs = 2000;

// The field holds what was typed (up to eight digits) until it loses the focus: the byte count wraps as
// 32-bit arithmetic does instead of overflowing.
std::int32_t bytesForSetting(int setting) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(setting) * 1024));
}

void load(synth::ToneChannel& channel, const ChannelValues& values) {
    channel.frequencyWord.store(values.word);
    channel.waveform.store(static_cast<std::int32_t>(values.waveform));
    channel.level.store(values.level);
}

} // namespace

ToneOutput::ToneOutput(OutputStream& stream, synth::ToneChannel& vfoA, synth::ToneChannel& vfoB,
                       const settings::IniFile& settings, const ToneSource& source)
    : stream_(stream), vfoA_(vfoA), vfoB_(vfoB), settings_(settings), source_(source) {}

void ToneOutput::start() {
    if (playing())
        return;
    vfoAKept(source_.lastCoarse(), source_.lastFine());
    const std::string name = settings_.read(settings::keys::audioDevice);
    if (const std::string refusal = pcmRefusal(name, settings_); !refusal.empty())
        throw platform::Failure(std::string(kAudioDeviceError) + ": " + refusal);
    if (stream_.heldAhead() && name != aheadName_)
        stream_.dropProbed();
    if (!stream_.probe())
        throw platform::Failure(stream_.probeUnanswered()
                                    ? std::string(kAudioDeviceError) +
                                          ": the sound device did not answer within " +
                                          std::to_string(stream_.waitLimit().count()) + " ms"
                                    : std::string(kAudioDeviceError));
    try {
        load(vfoB_, source_.vfoB());
        load(vfoA_, source_.vfoA());
    } catch (...) {
        // The probe left the device open for the worker that now does not start.
        stream_.dropProbed();
        openAhead();
        throw;
    }
    // The stream zeroes both channels' time itself, once the previous worker has surely ended.
    stream_.startWorker();
    stream_.setPlaying(true);
    if (watchdog_) {
        lastTaken_ = 0;
        quietTicks_ = 0;
        const std::int64_t frames = std::max(1, stream_.bufferBytes() / 4);
        const int periodMs = static_cast<int>((frames * 1000 + kFrameRate - 1) / kFrameRate);
        graceTicks_ = (kStartGraceMs + periodMs - 1) / periodMs;
        watchdog_->setInterval(periodMs);
        watchdog_->setEnabled(true);
    }
    changed();
}

void ToneOutput::stop() {
    if (watchdog_)
        watchdog_->setEnabled(false);
    stream_.requestStop();
    held_ = false;
    stream_.setPlaying(false);
    openAhead();
    changed();
}

void ToneOutput::keepDeviceOpenAhead(bool on) {
    openAhead_ = on;
    if (on)
        openAhead();
    else if (stream_.heldAhead())
        stream_.dropProbed();
}

void ToneOutput::deviceChanged() {
    if (stream_.heldAhead())
        stream_.dropProbed();
    openAhead();
}

void ToneOutput::openAhead() {
    if (!openAhead_ || playing())
        return;
    // A refused name is left for Start to report.
    const std::string name = settings_.read(settings::keys::audioDevice);
    if (pcmRefusal(name, settings_).empty() && stream_.openAhead())
        aheadName_ = name;
}

void ToneOutput::holdForTransmission() {
    held_ = true;
    changed();
}

void ToneOutput::releaseFromTransmission() {
    held_ = false;
    changed();
}

void ToneOutput::endTransmission(bool toneStartedForIt) {
    if (toneStartedForIt)
        stop();
    else
        releaseFromTransmission();
}

void ToneOutput::retuneVfoAAt(std::int64_t word, std::int64_t instantNs, bool continuous) {
    if (!playing())
        return;
    stream_.queueVfoAMove(word, instantNs, continuous);
    vfoAMoveQueued(word, instantNs, continuous);
}

void ToneOutput::playStoredVfoA() {
    stream_.dropVfoAMoves();
    vfoAMovesDropped();
}

void ToneOutput::setBufferSetting(int setting) {
    stream_.setBufferBytes(bytesForSetting(setting));
}

void ToneOutput::saveBufferSetting(int setting) {
    setBufferSetting(setting);
    bufferSaved(setting);
}

void ToneOutput::workerFailed(std::uint64_t worker) {
    if (!playing() || worker != stream_.latestWorker())
        return;
    lose(stream_.failureReason());
}

void ToneOutput::watchStream(platform::Timer& timer, platform::MessageSink& sink) {
    watchdog_ = &timer;
    timer.onTimeout = [this, &sink] { platform::runGuarded(sink, [this] { checkStream(); }); };
}

void ToneOutput::checkStream() {
    // A failed worker reports itself; its news is on the way.
    if (!playing() || stream_.workerFailed())
        return;
    const std::int64_t taken = stream_.buffersSubmitted();
    if (graceTicks_ > 0) {
        --graceTicks_;
        lastTaken_ = taken;
        return;
    }
    if (taken != lastTaken_) {
        lastTaken_ = taken;
        quietTicks_ = 0;
        return;
    }
    if (++quietTicks_ < kStallPeriods)
        return;
    lose("the sound device took no buffer for " + std::to_string(kStallPeriods * watchdog_->interval()) +
         " ms (the sound server or device stalled)");
}

void ToneOutput::lose(const std::string& reason) {
    onToneLost();
    stop();
    const std::string message(kAudioDeviceError);
    throw platform::Failure(reason.empty() ? message : message + ": " + reason);
}

void ToneOutput::changed() {
    onStateChange();
}

} // namespace tarvel::audio
