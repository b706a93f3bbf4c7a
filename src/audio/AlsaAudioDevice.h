#pragma once
// The audio device on an ALSA PCM. Called on the audio worker thread, except wake(), which the
// user-interface thread calls.
#include "audio/AudioDevice.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

// The same declaration as ALSA's own, so the header need not pull in the whole ALSA API.
typedef struct _snd_pcm snd_pcm_t;

namespace tarvel::audio {

class AlsaAudioDevice final : public AudioDevice {
public:
    // pcmName: an ALSA PCM name such as "default", "plughw:0,0" or "file:FILE=out.raw,FORMAT=raw".
    explicit AlsaAudioDevice(std::string pcmName = "default");
    ~AlsaAudioDevice() override;
    AlsaAudioDevice(const AlsaAudioDevice&) = delete;
    AlsaAudioDevice& operator=(const AlsaAudioDevice&) = delete;

    // A factory for the output stream: each call makes a fresh device on the named PCM.
    static std::function<std::unique_ptr<AudioDevice>()> factory(std::string pcmName);

    // Reads the sound system's configuration files on a thread of their own, so that the first Start
    // does not wait for them (a few milliseconds) before PTT. The thread is joined with the object.
    static std::jthread readConfigurationAhead();

    bool probe() override;
    bool servedBySoundServer() const override;
    bool open(int framesPerBuffer) override;
    bool submit(const std::int16_t* interleaved, int frames) override;
    bool waitForCompletion() override;
    void wake() override;
    void reset() override;
    void close() override;
    std::int64_t underrunCount() const override { return underruns_.load(); }
    std::string failureReason() const override { return failure_; }
    bool playedPosition(PlayedPosition& position) override;

    // What the device granted after open(), in frames; for diagnostics and tests.
    std::int64_t periodFrames() const { return periodFrames_; }
    std::int64_t ringFrames() const { return ringFrames_; }

private:
    struct PcmCloser {
        void operator()(snd_pcm_t* pcm) const;
    };

    bool configure(int framesPerBuffer);
    // Writes as much of the pending buffer as the ring has room for; false on an unrecoverable error.
    bool writePending();
    // Brings the PCM back after an underrun or a suspend; false when it cannot be.
    bool recover(int error);
    bool takeWake();
    // Keeps the reason for a failure with the ALSA error code error (negative) and returns false.
    bool fail(const char* step, int error);

    std::string pcmName_;
    std::unique_ptr<snd_pcm_t, PcmCloser> pcm_;
    int wakeFd_ = -1;
    std::atomic<std::int64_t> underruns_{0};
    int framesPerBuffer_ = 0;
    // A wait has come back from the device once since open(): it plays.
    bool taking_ = false;
    std::int64_t periodFrames_ = 0;
    std::int64_t ringFrames_ = 0;
    const std::int16_t* pending_ = nullptr;
    int pendingFrames_ = 0;
    // Frames the PCM accepted since open(): less its reported delay, the frames played.
    std::int64_t framesWritten_ = 0;
    std::string failure_;
};

} // namespace tarvel::audio
