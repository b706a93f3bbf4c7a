// The sound card's clock measured through the output stream on a real PCM, against the system clock:
// the offset and its uncertainty after 1, 3 and 10 minutes. Against a sound server's null sink the offset
// should be 0 within the uncertainty when the sink runs at 50000 Hz. At 44100 Hz a null sink really runs
// fast: it advances its clock by each chunk's length rounded down to whole microseconds.
//   tarvel_clock_bench [PCM [BUFFER-BYTES [MINUTES [PAIRS-FILE]]]]   (default: default 65536 10)
//   tarvel_clock_bench --replay PAIRS-FILE    fits pairs written before, at the same marks, also with the
//                                             sound server's settling seconds kept in
// A null sink to measure against, on a private socket (then PULSE_SERVER=unix:/tmp/tarvel-pulse/native
// and PCM "pulse"), in one command line:
//   pulseaudio -n --daemonize=no --exit-idle-time=-1
//     -L "module-native-protocol-unix socket=/tmp/tarvel-pulse/native auth-anonymous=1"
//     -L "module-null-sink sink_name=null50 rate=50000"
#include "audio/AlsaAudioDevice.h"
#include "audio/ClockFit.h"
#include "audio/OutputStream.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

void show(const std::string& what, int minutes, const tarvel::audio::ClockEstimate& e) {
    std::printf("%s, %2d min: %+8.3f ppm ± %.3f ppm (fit %.3f, scatter %.3f; %d segments, %lld set aside, "
                "%lld pairs)\n",
                what.c_str(), minutes, e.offsetPpm, e.uncertaintyPpm, e.fitErrorPpm, e.spreadErrorPpm,
                e.segments, static_cast<long long>(e.setAside), static_cast<long long>(e.pairs));
    std::fflush(stdout);
}

// Pairs from a sound server, fitted as the program fits them and again with the settling seconds kept in.
int replay(const char* path) {
    std::ifstream in(path);
    tarvel::audio::ClockFit fit, unsettled;
    fit.setSoundServer();
    unsettled.setUnseenWander(tarvel::audio::ClockFit::kServerDelayWanderSeconds);
    tarvel::audio::ClockPair pair;
    std::int64_t firstNs = -1;
    int reported = 0;
    const int marks[] = {1, 3, 10, 30, 60};
    const auto showBoth = [&](const std::string& what, int minutes) {
        show(what, minutes, fit.estimate());
        show(what + " (settling kept)", minutes, unsettled.estimate());
    };
    while (in >> pair.frames >> pair.monotonicNs >> pair.run >> pair.underruns) {
        if (firstNs < 0)
            firstNs = pair.monotonicNs;
        if (reported < 5 && pair.monotonicNs - firstNs >= marks[reported] * 60'000'000'000LL)
            showBoth(path, marks[reported++]);
        fit.add(pair);
        unsettled.add(pair);
    }
    showBoth(std::string(path) + " (all)", 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    using namespace tarvel;
    if (argc == 3 && std::string(argv[1]) == "--replay")
        return replay(argv[2]);
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
    if (!audio::isHardwarePcm(pcm))
        fit.setSoundServer();
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
            show(pcm + ", " + std::to_string(bytes) + "-byte buffers", marks[reported], fit.estimate());
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
