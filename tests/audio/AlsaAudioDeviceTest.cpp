#include "audio/AlsaAudioDevice.h"

#include "ReferenceStream.h"
#include "audio/AlsaPcmList.h"
#include "audio/OutputStream.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tarvel::audio {
namespace {

using synth::WaveformKind;
using test::hertz;
using test::Tone;

constexpr int frames = 4096;
constexpr int minimumBuffers = 6;

// Rising zero crossings per second over the samples of one channel (stride 2 in the stereo stream).
double crossingRate(const std::vector<std::int16_t>& stereo, int channel, std::size_t frameCount) {
    int rising = 0;
    std::size_t first = 0, last = 0;
    for (std::size_t k = 1; k < frameCount; ++k) {
        if (stereo[2 * (k - 1) + channel] < 0 && stereo[2 * k + channel] >= 0) {
            if (rising++ == 0)
                first = k;
            last = k;
        }
    }
    return rising < 2 ? 0.0 : (rising - 1) * 44100.0 / static_cast<double>(last - first);
}

int peak(const std::vector<std::int16_t>& stereo, int channel) {
    int result = 0;
    for (std::size_t k = channel; k < stereo.size(); k += 2)
        result = std::max(result, std::abs(static_cast<int>(stereo[k])));
    return result;
}

TEST(AlsaAudioDevice, StreamPlaysBothTonesIntoAFilePcmWithNothingLostAtBufferJoins) {
    const auto path = std::filesystem::current_path() / "out.raw";
    std::filesystem::remove(path);
    const Tone left{WaveformKind::Sine, 20000, hertz(1000)};
    const Tone right{WaveformKind::Sine, 8000, hertz(441)};
    synth::ToneChannel vfoA, vfoB;
    test::load(vfoA, left);
    test::load(vfoB, right);

    OutputStream stream(vfoA, vfoB, AlsaAudioDevice::factory("file:FILE=" + path.string() + ",FORMAT=raw"));
    stream.setBufferBytes(4 * frames);
    ASSERT_TRUE(stream.probe());
    stream.startWorker();
    // The file PCM takes samples as fast as they come: stop once enough have arrived.
    const std::uintmax_t wanted = std::uintmax_t{minimumBuffers} * 4 * frames;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::error_code error;
    while (std::filesystem::file_size(path, error) < wanted || error) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline);
        ASSERT_FALSE(stream.workerFailed());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stream.stopAndWait();
    EXPECT_FALSE(stream.workerFailed());
    EXPECT_EQ(stream.underrunCount(), 0);
    EXPECT_EQ(vfoA.time, 0.0);

    std::ifstream file(path, std::ios::binary);
    std::vector<std::int16_t> played(std::filesystem::file_size(path) / sizeof(std::int16_t));
    file.read(reinterpret_cast<char*>(played.data()), static_cast<std::streamsize>(played.size() * 2));
    ASSERT_TRUE(file);
    const std::size_t playedFrames = played.size() / 2;
    ASSERT_GE(playedFrames, std::size_t{minimumBuffers} * frames);

    // Every frame matches the synthesizer's stream, so no sample was dropped or repeated at a join.
    const std::size_t buffers = (playedFrames + frames - 1) / frames;
    ASSERT_LE(static_cast<std::int64_t>(buffers), stream.buffersSubmitted());
    const auto expected =
        test::referenceBuffers(std::vector<Tone>(buffers, left), std::vector<Tone>(buffers, right), frames);
    std::size_t mismatches = 0, firstMismatch = 0;
    for (std::size_t s = 0; s < played.size(); ++s) {
        if (played[s] != expected[s / (2 * frames)][s % (2 * frames)] && mismatches++ == 0)
            firstMismatch = s;
    }
    EXPECT_EQ(mismatches, 0u) << "first at sample " << firstMismatch;

    // And independently of the synthesizer: the tones' frequency and level on each side.
    EXPECT_NEAR(crossingRate(played, 0, playedFrames), 1000.0, 0.5);
    EXPECT_NEAR(crossingRate(played, 1, playedFrames), 441.0, 0.5);
    EXPECT_GE(peak(played, 0), 19950);
    EXPECT_LE(peak(played, 0), 20000);
    EXPECT_EQ(peak(played, 1), 8000);
}

TEST(AlsaAudioDevice, UnknownPcmFailsTheProbeAndEndsTheWorkerWithAlsasReason) {
    synth::ToneChannel vfoA, vfoB;
    std::atomic<std::uint64_t> noticed{0};
    OutputStream stream(vfoA, vfoB, AlsaAudioDevice::factory("tarvel_no_such_pcm"),
                        [&](std::uint64_t worker) { noticed = worker; });
    EXPECT_FALSE(stream.probe());
    stream.startWorker();
    stream.stopAndWait();
    EXPECT_TRUE(stream.workerFailed());
    EXPECT_EQ(stream.buffersSubmitted(), 0);
    EXPECT_EQ(noticed, stream.latestWorker());
    EXPECT_EQ(stream.failureReason(), std::string("tarvel_no_such_pcm: open: ") + snd_strerror(-ENOENT));
}

} // namespace
} // namespace tarvel::audio

TEST(AlsaPcmList, OffersDefaultFirstAndTheNullPcmThatEveryConfigurationDefines) {
    const std::vector<tarvel::platform::DeviceChoice> pcms = tarvel::audio::AlsaPcmList().present();
    ASSERT_FALSE(pcms.empty());
    EXPECT_EQ(pcms.front().name, "default");
    EXPECT_EQ(std::count_if(pcms.begin(), pcms.end(), [](const auto& pcm) { return pcm.name == "default"; }),
              1);
    EXPECT_TRUE(std::any_of(pcms.begin(), pcms.end(), [](const auto& pcm) { return pcm.name == "null"; }));
    for (const auto& pcm : pcms)
        EXPECT_EQ(pcm.description.find('\n'), std::string::npos) << pcm.name;
}
