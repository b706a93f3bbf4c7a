#include "audio/StreamControl.h"

#include "platform/Failure.h"

namespace tarvel::audio {
namespace {

const std::string kAudioDeviceError = "Ошибка аудиоустройства";

// The field holds what was typed (up to eight digits) until it loses the focus: the byte count wraps as
// 32-bit arithmetic does instead of overflowing.
std::int32_t bytesForSetting(int setting) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(setting) * 1024));
}

} // namespace

StreamControl::StreamControl(StreamControls controls, OutputStream& stream, synth::ToneChannel& vfoA,
                             synth::ToneChannel& vfoB, settings::IniFile& settings, StreamTuning tuning)
    : c_(controls), stream_(stream), vfoA_(vfoA), vfoB_(vfoB), settings_(settings),
      tuning_(std::move(tuning)) {
    c_.btnPlay.onClick = [this] { btnPlayClick(); };
    c_.btnStop.onClick = [this] { btnStopClick(); };
    c_.SpinEdit1.onChange = [this] { SpinEdit1Change(); };
}

void StreamControl::btnPlayClick() {
    if (stream_.playing() == 1)
        return;
    settings_.writeInteger("freq", tuning_.lastCoarse());
    settings_.writeInteger("01x", tuning_.lastFine());
    if (!stream_.probe())
        throw platform::Failure(kAudioDeviceError);
    vfoB_.frequencyWord.store(tuning_.vfoBWord());
    vfoB_.waveform.store(c_.rgL.itemIndex());
    vfoB_.level.store(c_.seLLev.value());
    vfoA_.frequencyWord.store(tuning_.vfoAWord());
    vfoA_.waveform.store(c_.rgR.itemIndex());
    vfoA_.level.store(c_.LevRScrollBar1.position());
    // The stream zeroes both channels' time itself, once the previous worker has surely ended.
    stream_.startWorker();
    stream_.setPlaying(1);
    c_.btnPlay.setEnabled(false);
    c_.btnStop.setEnabled(true);
}

void StreamControl::btnStopClick() {
    stream_.requestStop();
    c_.btnPlay.setEnabled(true);
    c_.btnStop.setEnabled(false);
    stream_.setPlaying(0);
}

void StreamControl::workerFailed(std::uint64_t worker) {
    if (!playing() || worker != stream_.latestWorker())
        return;
    if (onStreamLost)
        onStreamLost();
    btnStopClick();
    const std::string reason = stream_.failureReason();
    throw platform::Failure(reason.empty() ? kAudioDeviceError : kAudioDeviceError + (": " + reason));
}

void StreamControl::showPlayingState() {
    c_.btnPlay.setEnabled(!playing());
    c_.btnStop.setEnabled(playing());
}

void StreamControl::Buffer1Click() {
    c_.PnBuffer.show();
}

void StreamControl::SpinEdit1Change() {
    stream_.setBufferBytes(bytesForSetting(c_.SpinEdit1.value()));
}

void StreamControl::Button8Click() {
    c_.PnBuffer.hide();
    stream_.setBufferBytes(bytesForSetting(c_.SpinEdit1.value()));
    settings_.writeInteger("Buffer", c_.SpinEdit1.value());
}

} // namespace tarvel::audio
