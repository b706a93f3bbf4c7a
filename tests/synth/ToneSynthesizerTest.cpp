#include "synth/ToneSynthesizer.h"

#include "synth/QuadReference.h"
#include "synth/ReducedSine.h"
#include "synth/SampleClock.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace tarvel::synth {
namespace {

constexpr std::int32_t kSine = 1;
constexpr std::int32_t kSquare = 2;
constexpr std::int32_t kWord1000Hz = 4096000;

std::vector<std::int16_t> Fill(std::int32_t waveform, std::int32_t level, std::int32_t word, int frames,
                               double& time) {
    std::vector<std::int16_t> block(frames + 1);
    FillChannel(block.data(), waveform, level, word, frames, time);
    return block;
}

// Time after one buffer: the previous time plus frames/44100, the sum rounded to a double once.
double Advanced(double time, int frames) {
    return static_cast<double>(static_cast<long double>(time) + static_cast<long double>(frames) / 44100.0L);
}

TEST(ToneSynthesizer, ThousandHertzAtLevel22000BeginsWithTheKnownSamples) {
    double time = 0.0;
    const auto block = Fill(kSine, 22000, kWord1000Hz, 4096, time);
    EXPECT_EQ((std::array<std::int16_t, 5>{block[0], block[1], block[2], block[3], block[4]}),
              (std::array<std::int16_t, 5>{0, 3124, 6184, 9120, 11870}));
    EXPECT_EQ(time, Advanced(0.0, 4096));
}

TEST(ToneSynthesizer, ConsecutiveBuffersJoinOnTheUnplayedSample) {
    for (const std::int32_t waveform : {kSine, kSquare}) {
        double time = 0.0;
        const auto first = Fill(waveform, 22000, 4096 * 1234 + 77, 4096, time);
        const double afterFirst = time;
        const auto second = Fill(waveform, 22000, 4096 * 1234 + 77, 4096, time);
        EXPECT_EQ(first[4096], second[0]);
        EXPECT_EQ(afterFirst, Advanced(0.0, 4096));
        EXPECT_EQ(time, Advanced(afterFirst, 4096));
        // The second buffer's samples sit one period apart from its start, like the first's.
        for (int i = 0; i <= 4096; i += 97) {
            const auto expected = test::QuadSineSample(
                test::QuadPhase(test::QuadOmega(4096 * 1234 + 77), test::QuadSampleTime(afterFirst, i)),
                22000);
            if (waveform == kSine) {
                EXPECT_EQ(second[i], expected.rounded) << i;
            }
        }
    }
}

// Configurations spread over the first hours of a stream: tones of every size and sign, arbitrary levels.
struct Stretch {
    std::int32_t word;
    std::int32_t level;
    double start;
};

std::vector<Stretch> Stretches(int count, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<std::int32_t> audioWord(4096 * 20, 4096 * 48000);
    std::uniform_int_distribution<std::int32_t> anyWord(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<std::int32_t> level(1, 32767);
    std::uniform_real_distribution<double> start(0.0, 6 * 3600.0);
    std::vector<Stretch> stretches;
    for (int n = 0; n < count; ++n) {
        const std::int32_t word = n % 4 == 3 ? anyWord(random) : (n % 2 ? -1 : 1) * audioWord(random);
        stretches.push_back({word, n % 5 == 0 ? 32000 : level(random), n % 8 == 0 ? 0.0 : start(random)});
    }
    return stretches;
}

TEST(ToneSynthesizer, SamplesMatchAQuadruplePrecisionSine) {
    constexpr int frames = 4096;
    int nearTies = 0;
    for (const Stretch& s : Stretches(64, 11)) {
        double time = s.start;
        const auto sine = Fill(kSine, s.level, s.word, frames, time);
        double squareTime = s.start;
        const auto square = Fill(kSquare, s.level, s.word, frames, squareTime);
        const double omega = test::QuadOmega(s.word);
        for (int i = 0; i <= frames; ++i) {
            const __float128 phase = test::QuadPhase(omega, test::QuadSampleTime(s.start, i));
            const auto expected = test::QuadSineSample(phase, s.level);
            nearTies += expected.nearTie;
            if (!expected.nearTie) {
                ASSERT_EQ(sine[i], static_cast<std::int16_t>(expected.rounded))
                    << "word " << s.word << " start " << s.start << " sample " << i;
            }
            ASSERT_EQ(square[i], sinq(phase) >= 0 ? s.level : -s.level) << s.word << " " << i;
        }
        EXPECT_EQ(time, test::QuadSampleTime(s.start, frames));
    }
    EXPECT_EQ(nearTies, 0);
}

// The fast route must give the direct route's samples bit for bit; over a million samples none differs.
TEST(ToneSynthesizer, FastFillEqualsTheDirectExtendedPrecisionFill) {
    constexpr int frames = 16384;
    long differences = 0;
    long samples = 0;
    for (const Stretch& s : Stretches(64, 29)) {
        for (const std::int32_t waveform : {kSine, kSquare}) {
            double fastTime = s.start;
            double plainTime = s.start;
            std::vector<std::int16_t> fast(frames + 1);
            std::vector<std::int16_t> plain(frames + 1);
            FillChannel(fast.data(), waveform, s.level, s.word, frames, fastTime);
            FillChannelPlain(plain.data(), waveform, s.level, s.word, frames, plainTime);
            for (int i = 0; i <= frames; ++i) {
                differences += fast[i] != plain[i];
            }
            samples += frames + 1;
            EXPECT_EQ(fastTime, plainTime);
        }
    }
    EXPECT_GE(samples, 2'000'000);
    EXPECT_EQ(differences, 0);
}

#ifndef TARVEL_COMPARED_SAMPLES
#define TARVEL_COMPARED_SAMPLES 100'000'000
#endif

// A hundred million samples (fewer under the sanitizers): buffers of both waveforms at every kind of
// word and level, up to a week into a stream, some following on from the previous buffer's time. The
// rotating fill must give the pointwise route's samples exactly.
TEST(ToneSynthesizer, RotatingFillEqualsThePointwiseRouteSampleForSample) {
    std::mt19937_64 random(43);
    std::uniform_int_distribution<std::int32_t> anyWord(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<std::int32_t> audioWord(-4096 * 48000, 4096 * 48000);
    std::uniform_int_distribution<std::int32_t> level(-kReducedLevelLimit, kReducedLevelLimit);
    std::uniform_real_distribution<double> start(0.0, 7 * 86400.0);
    std::uniform_int_distribution<int> oddFrames(0, 20000);
    std::vector<std::int16_t> rotated(20001);
    std::vector<std::int16_t> pointwise(20001);
    long long samples = 0;
    long long mismatches = 0;
    double time = 0.0;
    for (int n = 0; samples < TARVEL_COMPARED_SAMPLES; ++n) {
        const std::int32_t waveform = n % 4 == 3 ? kSquare : kSine;
        const std::int32_t word = n % 3 == 2 ? anyWord(random) : audioWord(random);
        const int frames = n % 8 == 7 ? oddFrames(random) : 16384;
        time = n % 4 == 0 ? time : n % 16 == 1 ? 0.0 : start(random);
        // Phases beyond the fast reduction's range go to the exact sine on both routes; a few are enough.
        const double reach = static_cast<double>(kReducedPhaseLimit) / std::fabs(AngularFrequency(word));
        time = frames == 16384 ? std::fmod(time, reach) : time;
        const std::int32_t lvl = n % 5 == 0 ? 32767 : level(random);
        double pointwiseTime = time;
        FillChannel(rotated.data(), waveform, lvl, word, frames, time);
        FillChannelPointwise(pointwise.data(), waveform, lvl, word, frames, pointwiseTime);
        for (int i = 0; i <= frames; ++i) {
            if (rotated[i] != pointwise[i] && mismatches++ == 0) {
                ADD_FAILURE() << "word " << word << " level " << lvl << " sample " << i << " of a buffer at "
                              << pointwiseTime << ": " << rotated[i] << " not " << pointwise[i];
            }
        }
        ASSERT_EQ(time, pointwiseTime);
        samples += frames + 1;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ToneSynthesizer, OffSilencesAndRestartsTheChannelWhileUnknownWaveformsTouchNothing) {
    std::vector<std::int16_t> block(10, 555);
    double time = 12.5;
    FillChannel(block.data(), 0, 22000, kWord1000Hz, 8, time);
    EXPECT_EQ(block, (std::vector<std::int16_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 555}));
    EXPECT_EQ(time, 0.0);

    for (const std::int32_t waveform : {-1, 3}) {
        std::vector<std::int16_t> untouched(10, 555);
        time = 12.5;
        FillChannel(untouched.data(), waveform, 22000, kWord1000Hz, 8, time);
        EXPECT_EQ(untouched, std::vector<std::int16_t>(10, 555));
        EXPECT_EQ(time, 12.5);
    }
}

TEST(ToneSynthesizer, SilentAndConstantCases) {
    double time = 0.0;
    EXPECT_EQ(Fill(kSine, 0, kWord1000Hz, 300, time), std::vector<std::int16_t>(301, 0));
    time = 0.0;
    EXPECT_EQ(Fill(kSquare, 0, kWord1000Hz, 300, time), std::vector<std::int16_t>(301, 0));
    time = 100.0;
    EXPECT_EQ(Fill(kSine, 22000, 0, 300, time), std::vector<std::int16_t>(301, 0));
    EXPECT_EQ(time, Advanced(100.0, 300));
    EXPECT_EQ(Fill(kSquare, 22000, 0, 300, time), std::vector<std::int16_t>(301, 22000));
}

TEST(ToneSynthesizer, SquareFollowsTheSineSign) {
    double time = 0.0;
    const auto square = Fill(kSquare, 22000, kWord1000Hz, 100, time);
    EXPECT_EQ(square[0], 22000); // sin(0) = 0 counts as non-negative
    EXPECT_EQ(square[21], 22000);
    EXPECT_EQ(square[23], -22000); // half a period is 22.05 samples
    EXPECT_EQ(square[45], 22000);
}

TEST(ToneSynthesizer, NegativeWordInvertsTheTone) {
    double up = 1234.5;
    double down = 1234.5;
    const auto sine = Fill(kSine, 32000, 4096 * 7001 + 3, 2000, up);
    const auto inverted = Fill(kSine, 32000, -(4096 * 7001 + 3), 2000, down);
    for (int i = 0; i <= 2000; ++i) {
        ASSERT_EQ(inverted[i], -sine[i]) << i;
    }
    EXPECT_EQ(up, down);
}

TEST(ToneSynthesizer, SamplesKeepTheLow16BitsOfLevelsBeyondTheSampleRange) {
    double time = 0.0;
    const auto square = Fill(kSquare, 40000, kWord1000Hz, 30, time);
    EXPECT_EQ(square[0], static_cast<std::int16_t>(40000 - 65536));
    EXPECT_EQ(square[30], static_cast<std::int16_t>(65536 - 40000));
    time = 0.0;
    // Peak of 1 kHz falls near sample 11: 40000 * sin(...) wraps around.
    const auto sine = Fill(kSine, 40000, kWord1000Hz, 11, time);
    EXPECT_LT(sine[11], 0);
}

TEST(ToneSynthesizer, ChannelRecordIsReadOnceWithTheLowHalfOfItsWord) {
    ToneChannel channel;
    channel.waveform = kSine;
    channel.level = 22000;
    channel.frequencyWord = kWord1000Hz + (std::int64_t{5} << 32);
    std::vector<std::int16_t> block(4097);
    FillChannel(block.data(), channel, 4096);
    double time = 0.0;
    EXPECT_EQ(block, Fill(kSine, 22000, kWord1000Hz, 4096, time));
    EXPECT_EQ(channel.time, time);
}

// A change that is not continuous lands on exactly its sample on the channel-time formula: today's fill of
// the old word before it, of the new one from it (at sample 0, bit for bit today's buffer).
TEST(ToneSynthesizer, ChangeAtSampleKKeepsTodaysFormulaFromExactlyK) {
    constexpr int frames = 4096;
    constexpr std::int32_t before = 4096 * 1500 + 7, after = -(4096 * 1501 + 3);
    std::vector<std::int16_t> block(frames + 1), old(frames + 1), moved(frames + 1);
    for (const std::int32_t waveform : {kSine, kSquare}) {
        for (const int k : {0, 1, 63, 64, 1000, frames - 1}) {
            double time = 1234.5, oldTime = time, newTime = time;
            CountedPhase phase;
            const FrequencyChange change{k, after, false};
            FillChannel(block.data(), waveform, 20000, before, frames, time, phase, &change, 1);
            FillChannelPointwise(old.data(), waveform, 20000, before, frames, oldTime);
            FillChannelPointwise(moved.data(), waveform, 20000, after, frames, newTime);
            for (int i = 0; i <= frames; ++i)
                ASSERT_EQ(block[i], i < k ? old[i] : moved[i]) << "change at " << k << ", sample " << i;
            EXPECT_EQ(time, newTime);
        }
    }
}

// Continuous changes over several buffers follow the counted phase: it starts where the channel-time
// formula stood at the first change, then each sample turns it by its word in whole units (no jump, no
// drift); a later change that is not continuous returns to the channel-time formula.
TEST(ToneSynthesizer, ContinuousChangesFollowTheCountedPhaseAcrossBuffers) {
    constexpr int frames = 4096;
    constexpr long double kUnits = kPhaseUnitsPerCycle;
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> at(0, frames - 1);
    std::uniform_int_distribution<std::int32_t> word(4096 * 1400, 4096 * 1600);
    std::vector<std::int16_t> block(frames + 1), timed(frames + 1);
    for (const std::int32_t level : {30000, 70000}) { // the fast route, and the exact one beyond its levels
        double time = 3600.0;
        CountedPhase phase;
        std::int32_t inForce = word(random);
        long double counted = -1; // the reference's counted phase, once the first change is in force
        for (int buffer = 0; buffer < 12; ++buffer) {
            const int a = at(random), b = at(random);
            const FrequencyChange changes[2]{{std::min(a, b), word(random), true},
                                             {std::max(a, b), word(random), true}};
            const double start = time;
            FillChannel(block.data(), kSine, level, inForce, frames, time, phase, changes, 2);
            for (int i = 0, next = 0; i < frames; ++i) {
                for (; next < 2 && changes[next].at == i; inForce = changes[next++].word) {
                    if (counted < 0) { // the old tone's phase there, rounded to extended precision as played
                        const long double cycles =
                            static_cast<long double>(
                                test::QuadPhase(test::QuadOmega(inForce), test::QuadSampleTime(start, i))) /
                            kTwoPi;
                        counted = std::nearbyint((cycles - std::floor(cycles)) * kUnits);
                    }
                }
                if (counted >= 0) {
                    const auto sample = static_cast<std::int16_t>(static_cast<std::int64_t>(
                        std::nearbyint(std::sin(kTwoPi * counted / kUnits) * level)));
                    ASSERT_LE(std::abs(static_cast<std::int16_t>(block[i] - sample)), 1)
                        << buffer << " " << i;
                    counted = std::fmod(counted + inForce, kUnits);
                }
            }
        }
        EXPECT_EQ(phase.units, static_cast<std::int64_t>(counted));
        const FrequencyChange back{0, inForce, false};
        double pointwiseTime = time;
        FillChannel(block.data(), kSine, level, inForce, frames, time, phase, &back, 1);
        FillChannelPointwise(timed.data(), kSine, level, inForce, frames, pointwiseTime);
        EXPECT_EQ(block, timed);
    }
}

TEST(ToneSynthesizer, InterleavingPutsVfoAFirstInEachFrame) {
    const std::vector<std::int16_t> a{1, 2, 3, 99};
    const std::vector<std::int16_t> b{-1, -2, -3, -99};
    std::vector<std::int16_t> out(8, 7);
    InterleaveChannels(out.data(), a.data(), b.data(), 3);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1, -1, 2, -2, 3, -3, 7, 7}));
}

} // namespace
} // namespace tarvel::synth
