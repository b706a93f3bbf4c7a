#include "audio/StreamControl.h"

#include "platform/Failure.h"

namespace tarvel::audio {

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
        throw platform::Failure("Ошибка аудиоустройства");
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

void StreamControl::showPlayingState() {
    c_.btnPlay.setEnabled(!playing());
    c_.btnStop.setEnabled(playing());
}

void StreamControl::Buffer1Click() {
    c_.PnBuffer.show();
}

void StreamControl::SpinEdit1Change() {
    stream_.setBufferBytes(c_.SpinEdit1.value() * 1024);
}

void StreamControl::Button8Click() {
    c_.PnBuffer.hide();
    stream_.setBufferBytes(c_.SpinEdit1.value() * 1024);
    settings_.writeInteger("Buffer", c_.SpinEdit1.value());
}

} // namespace tarvel::audio
