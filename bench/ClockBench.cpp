// The sound card's clock measured through the output stream on a real PCM, against the system clock:
// the offset and its uncertainty after 1, 3 and 10 minutes. Against a sound server's null sink, whose
// clock is the system clock, the offset should be 0 within the uncertainty.
//   tarvel_clock_bench [PCM [BUFFER-BYTES [MINUTES [PAIRS-FILE]]]]   (default: default 65536 10)
#include "audio/AlsaAudioDevice.h"
#include "audio/ClockFit.h"
#include "audio/OutputStream.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    using namespace tarvel;
    const std::string pcm = argc > 1 ? argv[1] : "default";
    const int bytes = argc > 2 ? std::stoi(argv[2]) : 65536;
    const int minutes = argc > 3 ? std::stoi(argv[3]) : 10;
    std::ofstream pairs;
    if (argc > 4)
        pairs.open(argv[4]);
    synth::ToneChannel vfoA, vfoB;
    audio::OutputStream stream(vfoA, vfoB, audio::AlsaAudioDevice::factory(pcm));
    stream.setBufferBytes(bytes);
    audio::ClockFit fit;
    stream.startWorker();
    const auto start = std::chrono::steady_clock::now();
    int reported = 0;
    const int marks[] = {1, 3, 10, 30, 60};
    while (!stream.workerFailed()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stream.takeClockPairs([&](const audio::ClockPair& pair) {
            fit.add(pair);
            if (pairs.is_open())
                pairs << pair.frames << ' ' << pair.monotonicNs << ' ' << pair.run << ' ' << pair.underruns
                      << '\n';
        });
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (reported < 5 && marks[reported] <= minutes && elapsed >= std::chrono::minutes(marks[reported])) {
            const audio::ClockEstimate e = fit.estimate();
            std::printf(
                "%s, %d-byte buffers, %2d min: %+8.3f ppm ± %.3f ppm (fit %.3f, scatter %.3f; %d segments, "
                "%lld pairs)\n",
                pcm.c_str(), bytes, marks[reported], e.offsetPpm, e.uncertaintyPpm, e.fitErrorPpm,
                e.spreadErrorPpm, e.segments, static_cast<long long>(e.pairs));
            std::fflush(stdout);
            ++reported;
        }
        if (elapsed >= std::chrono::minutes(minutes))
            break;
    }
    if (stream.workerFailed())
        std::printf("the stream failed: %s\n", stream.failureReason().c_str());
    stream.stopAndWait();
    return stream.workerFailed() ? 1 : 0;
}
