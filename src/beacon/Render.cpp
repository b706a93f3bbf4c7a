#include "beacon/Render.h"

#include "audio/VfoAMoves.h"
#include "platform/SafeFile.h"
#include "synth/ToneSynthesizer.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarvel::beacon {
namespace {

constexpr int kRate = 44100;
// The data chunk's size is a 32-bit count of bytes.
constexpr std::int64_t kMostFrames = (0xFFFF'FFFFLL - 36) / 4;

void putLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string waveHeader(std::int64_t frames) {
    const auto dataBytes = static_cast<std::uint32_t>(frames * 4);
    std::string header = "RIFF";
    putLittle(header, 36 + dataBytes, 4);
    header += "WAVEfmt ";
    putLittle(header, 16, 4);
    putLittle(header, 1, 2); // PCM
    putLittle(header, 2, 2);
    putLittle(header, kRate, 4);
    putLittle(header, kRate * 4, 4);
    putLittle(header, 4, 2);
    putLittle(header, 16, 2);
    header += "data";
    putLittle(header, dataBytes, 4);
    return header;
}

void load(synth::ToneChannel& channel, const audio::ChannelValues& values) {
    channel.frequencyWord.store(values.word);
    channel.waveform.store(static_cast<std::int32_t>(values.waveform));
    channel.level.store(values.level);
}

std::int32_t low32(std::int64_t word) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(word));
}

} // namespace

RenderResult renderRun(const std::string& path, const Rehearsal& plan) {
    RenderResult result;
    const auto failure = [&](const std::string& why) {
        result.error = "cannot write " + path + ": " + why;
        return result;
    };
    if (plan.passStarts.empty() || plan.edges.empty() || plan.bufferFrames <= 0)
        return failure("nothing to render");
    const int frames = plan.bufferFrames;
    // Sample 0 is played at the first pass's start: instants map to samples as the worker maps them.
    audio::SampleInstants instants;
    instants.assumeStart(plan.passStarts.front() * 1'000'000);
    const std::int64_t lastSample = instants.sampleAt(plan.edges.back().atUtcMs * 1'000'000);
    const std::int64_t total = (lastSample / frames + 1) * frames;
    if (total > kMostFrames)
        return failure("the run's " + std::to_string(total / kRate) + " s are more than a WAV file holds (" +
                       std::to_string(kMostFrames / kRate) + " s)");

    // Opened at the end of its links, so that a failure removes the file this run emptied, not a link to it.
    std::string target;
    if (const int err = platform::resolveLinks(path, target); err != 0)
        return failure(std::strerror(err));
    const int fd = platform::openFile(target, platform::FileAccess::Replace);
    if (fd < 0)
        return failure(std::strerror(-fd));
    struct stat opened {};
    const bool known = ::fstat(fd, &opened) == 0;
    // A file cut short has a header that promises more than it holds: no player should take it for the run.
    const auto removePartial = [&](const std::string& why) {
        struct stat named {};
        const bool same = known && ::lstat(target.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
                          named.st_ino == opened.st_ino;
        if (same && ::unlink(target.c_str()) == 0)
            return failure(why + "; the part written was removed");
        return failure(why + "; the part written is left in " + target + " and is not a whole WAV file");
    };
    const auto write = [&](std::string_view bytes) {
        const int err = platform::writeAll(fd, bytes);
        if (err != 0)
            result.error = std::strerror(err);
        return err == 0;
    };

    synth::ToneChannel vfoA;
    synth::ToneChannel vfoB;
    load(vfoA, plan.vfoA);
    load(vfoB, plan.vfoB);
    std::vector<std::int16_t> out(2 * static_cast<std::size_t>(frames));
    std::vector<std::int16_t> blockA(static_cast<std::size_t>(frames) + 1);
    std::vector<std::int16_t> blockB(static_cast<std::size_t>(frames) + 1);
    std::vector<synth::FrequencyChange> changes;
    std::size_t next = 0; // the first of plan.vfoAWords not yet handed over
    bool followingMoves = false;
    std::int32_t wordA = 0;
    bool written = write(waveHeader(total));
    for (std::int64_t first = 0; written && first < total; first += frames) {
        // A drop reaches the worker between buffers; the moves due inside this one become its changes.
        changes.clear();
        for (; next < plan.vfoAWords.size(); ++next) {
            const VfoAWordChange& change = plan.vfoAWords[next];
            const std::int64_t sample = instants.sampleAt(change.atUtcNs);
            if (change.stored) {
                if (sample > first)
                    break;
                followingMoves = false;
                vfoA.frequencyWord.store(change.word);
                continue;
            }
            if (sample >= first + frames)
                break;
            const int at = std::max(changes.empty() ? 0 : changes.back().at,
                                    static_cast<int>(std::max<std::int64_t>(sample - first, 0)));
            changes.push_back({at, low32(change.word), change.continuous});
        }
        if (!followingMoves) {
            wordA = low32(vfoA.frequencyWord.load());
            vfoA.phase.on = false;
        }
        const int count = static_cast<int>(changes.size());
        synth::FillChannel(blockA.data(), vfoA.waveform.load(), vfoA.level.load(), wordA, frames, vfoA.time,
                           vfoA.phase, changes.data(), count);
        if (count > 0) {
            followingMoves = true;
            wordA = changes.back().word;
        }
        synth::FillChannel(blockB.data(), vfoB, frames);
        synth::InterleaveChannels(out.data(), blockA.data(), blockB.data(), frames);
        if constexpr (std::endian::native != std::endian::little)
            for (std::int16_t& sample : out)
                sample = static_cast<std::int16_t>(static_cast<std::uint16_t>(
                    (static_cast<std::uint16_t>(sample) >> 8) | (static_cast<std::uint16_t>(sample) << 8)));
        written = write({reinterpret_cast<const char*>(out.data()), out.size() * sizeof(std::int16_t)});
        if (written)
            result.frames += frames;
    }
    if (::close(fd) != 0 && written) {
        written = false;
        result.error = std::strerror(errno);
    }
    if (!written) {
        result.frames = 0;
        return removePartial(result.error);
    }
    return result;
}

} // namespace tarvel::beacon
