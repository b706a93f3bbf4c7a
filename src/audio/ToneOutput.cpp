#include "audio/ToneOutput.h"

#include "platform/Failure.h"
#include "settings/Keys.h"

namespace tarvel::audio {
namespace {

// The field holds what was typed (up to eight digits) until it loses the focus: the byte count wraps as
// 32-bit arithmetic does instead of overflowing.
std::int32_t bytesForSetting(int setting) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(setting) * 1024));
}

void load(synth::ToneChannel& channel, const ChannelValues& values) {
    channel.frequencyWord.store(values.word);
    channel.waveform.store(values.waveform);
    channel.level.store(values.level);
}

} // namespace

ToneOutput::ToneOutput(OutputStream& stream, synth::ToneChannel& vfoA, synth::ToneChannel& vfoB,
                       settings::IniFile& settings, ToneSource source)
    : stream_(stream), vfoA_(vfoA), vfoB_(vfoB), settings_(settings), source_(std::move(source)) {}

void ToneOutput::start() {
    if (playing())
        return;
    settings_.write(settings::keys::vfoACoarse, source_.lastCoarse());
    settings_.write(settings::keys::vfoAFine, source_.lastFine());
    if (!stream_.probe())
        throw platform::Failure(std::string(kAudioDeviceError));
    load(vfoB_, source_.vfoB());
    load(vfoA_, source_.vfoA());
    // The stream zeroes both channels' time itself, once the previous worker has surely ended.
    stream_.startWorker();
    stream_.setPlaying(1);
    changed();
}

void ToneOutput::stop() {
    stream_.requestStop();
    held_ = false;
    stream_.setPlaying(0);
    changed();
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

void ToneOutput::setBufferSetting(int setting) {
    stream_.setBufferBytes(bytesForSetting(setting));
}

void ToneOutput::saveBufferSetting(int setting) {
    setBufferSetting(setting);
    settings_.write(settings::keys::bufferKiB, setting);
}

void ToneOutput::workerFailed(std::uint64_t worker) {
    if (!playing() || worker != stream_.latestWorker())
        return;
    if (onToneLost)
        onToneLost();
    stop();
    const std::string reason = stream_.failureReason();
    const std::string message(kAudioDeviceError);
    throw platform::Failure(reason.empty() ? message : message + ": " + reason);
}

void ToneOutput::changed() {
    if (onStateChange)
        onStateChange();
}

} // namespace tarvel::audio
