// `tarvel beacon` as an operator runs it, on a hand-written settings file: the dry run and the refusals
// (neither may even open the port), and a real pass ended by SIGTERM in a dash.
#include "LogLines.h"
#include "PortWatcher.h"
#include "RunningProgram.h"
#include "mock/Files.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using tarvel::e2e::PortWatcher;
using tarvel::e2e::RunningProgram;
using Clock = RunningProgram::Clock;

// A folder of its own to run in, holding the settings "station.ini": VFO A on 136 kHz, logging on, the key on
// RTS and PTT on DTR; the port is /dev/ttyS0, or with ownPort the file "port" in the folder. moreSettings
// come first, so they win over these.
fs::path stationDir(const std::string& name, const std::string& moreSettings, bool ownPort = false) {
    const fs::path dir = fs::current_path() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "station.ini", std::ios::binary)
        << "[Param]\r\n"
        << moreSettings << "freq=136000\r\nTA=1\r\nlog=1\r\niRTS=0\r\nPort1="
        << (ownPort ? (dir / "port").string() : tarvel::e2e::kPort) << "\r\n";
    return dir;
}

// The port's lines as the program leaves them; null where the port is absent or its lines cannot be read.
std::unique_ptr<PortWatcher> watchPort() {
    if (::access(tarvel::e2e::kPort, F_OK) != 0)
        return nullptr;
    auto watcher = std::make_unique<PortWatcher>();
    return watcher->usable() ? std::move(watcher) : nullptr;
}

// Opens of a file that only the settings name, as the port: any open is the program's. (Other tests may
// open the real port meanwhile, as listing the serial ports does.)
class OpenWatch {
public:
    explicit OpenWatch(const fs::path& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        std::ofstream{path};
        ::inotify_add_watch(fd_, path.c_str(), IN_OPEN);
    }
    ~OpenWatch() { ::close(fd_); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;
    bool opened() const {
        char events[4096];
        bool any = false;
        while (::read(fd_, events, sizeof events) > 0)
            any = true;
        return any;
    }

private:
    int fd_;
};

// Runs the beacon to its own end; false when it did not end, or opened the port.
bool keysNothing(RunningProgram& program, const OpenWatch& port) {
    return program.ends(60s, [] {}) && !port.opened();
}

// "2026-12-07 15:21:00.000Z" as UTC milliseconds since the epoch.
std::int64_t utcMs(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    char z = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%3d%c", &year, &month, &day, &hour, &minute,
                    &second, &ms, &z) != 8 ||
        z != 'Z')
        return -1;
    using namespace std::chrono;
    const sys_days date{std::chrono::year(year) / month / day};
    return duration_cast<milliseconds>(date.time_since_epoch()).count() +
           ((hour * 60 + minute) * 60 + second) * 1000LL + ms;
}

// The dry run's passes: each start, then its edges as offsets from it ("PTT on", "key off").
struct PlannedPass {
    std::int64_t startMs = -1;
    std::vector<std::pair<std::int64_t, std::string>> edges;
};
std::vector<PlannedPass> plannedPasses(const std::string& output) {
    std::vector<PlannedPass> passes;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("pass ") && line.find(" at ") != std::string::npos)
            passes.push_back({utcMs(line.substr(line.find(" at ") + 4)), {}});
        else if (line.starts_with("  ") && !passes.empty() && line.size() > 28)
            passes.back().edges.emplace_back(utcMs(line.substr(2, 24)) - passes.back().startMs,
                                             line.substr(28));
    }
    return passes;
}

TEST(Beacon, DryRunPrintsEachPassAFrameApartAndTouchesNeitherPortNorLog) {
    const fs::path dir = stationDir("dry-run", "TXT1=TEST\r\n", true);
    const OpenWatch port(dir / "port");
    RunningProgram program(TARVEL_EXECUTABLE, dir,
                           {"beacon", "--settings", "station.ini", "--dry-run", "--mode", "qrss1", "--every",
                            "30s", "--count", "2"});
    EXPECT_TRUE(keysNothing(program, port)) << "the dry run opened the port or did not end";
    ASSERT_EQ(program.exitStatus(), 0) << program.errors();
    EXPECT_FALSE(fs::exists(dir / "vfolog.txt"));

    const std::string output = program.output();
    const auto passes = plannedPasses(output);
    ASSERT_EQ(passes.size(), 2u) << output;
    EXPECT_EQ(passes[0].startMs % 30'000, 0) << "not on a frame's start:\n" << output;
    EXPECT_EQ(passes[1].startMs - passes[0].startMs, 30'000) << output;
    // PTT up at the frame's start, the six elements of TEST keyed between, PTT down last; the second pass
    // keyed just as the first.
    const auto& edges = passes[0].edges;
    ASSERT_EQ(edges.size(), 14u) << output;
    EXPECT_EQ(edges.front(), std::make_pair(std::int64_t{0}, std::string("PTT on"))) << output;
    EXPECT_EQ(edges.back().second, "PTT off") << output;
    for (std::size_t i = 1; i + 1 < edges.size(); ++i) {
        EXPECT_EQ(edges[i].second, i % 2 ? "key on" : "key off") << "edge " << i << ":\n" << output;
        EXPECT_LE(edges[i - 1].first, edges[i].first) << "edge " << i << ":\n" << output;
    }
    EXPECT_EQ(passes[1].edges, edges) << output;
}

// A thousand passes shown and the rest counted, where listing a billion took gigabytes.
TEST(Beacon, DryRunOfAHugeCountListsAThousandPassesAndCountsTheRest) {
    const fs::path dir = stationDir("dry-run-huge", "TXT1=E\r\n", true);
    const OpenWatch port(dir / "port");
    RunningProgram program(
        TARVEL_EXECUTABLE, dir,
        {"beacon", "--settings", "station.ini", "--dry-run", "--every", "1h", "--count", "999999999"});
    EXPECT_TRUE(keysNothing(program, port)) << "the dry run opened the port or did not end";
    ASSERT_EQ(program.exitStatus(), 0) << program.errors();
    const std::string output = program.output();
    EXPECT_EQ(plannedPasses(output).size(), 1000u);
    EXPECT_TRUE(output.ends_with("\nthen 999998999 more passes like these, one in each frame\n")) << output;
}

TEST(Beacon, RefusesBadInputWithStatusTwoAndKeysNothing) {
    struct Case {
        const char* what;
        std::string settings;
        std::vector<std::string> arguments;
        std::string said; // part of the message: what it is about
    };
    const std::vector<std::string> run{"beacon", "--settings", "station.ini"};
    const auto with = [&run](std::vector<std::string> more) {
        more.insert(more.begin(), run.begin(), run.end());
        return more;
    };
    const std::vector<Case> cases{
        {"an unknown mode", "TXT1=TEST\r\n", with({"--mode", "qrss7"}), "qrss7"},
        {"a missing settings file", "TXT1=TEST\r\n", {"beacon", "--settings", "missing.ini"}, "missing.ini"},
        {"a pass longer than its frame", "TXT1=TEST\r\n", with({"--mode", "qrss1", "--every", "1s"}),
         "0:00:01 given by --every"},
        {"an empty stored message", "TXT1=\r\n", run, "stored message 1 is empty"},
        {"a correction that is no number", "TXT1=TEST\r\ncorr=nan\r\n", run, "corr=nan is not a number"},
        {"a correction of 0", "TXT1=TEST\r\ncorr=0\r\n", run, "corr=0 is not a positive number"},
        {"a correction beyond any tone", "TXT1=TEST\r\ncorr=1e308\r\n", run, "correction factor (corr)"},
        {"a multiplier of 0", "TXT1=TEST\r\nN=0\r\n", run, "VFO A multiplier (N) is 0"},
        {"a tone the sound card cannot play", "TXT1=TEST\r\nN=1\r\n", run, "N=1"},
        {"a DFCW dot the sound card cannot play",
         "TXT1=TEST\r\nN=1\r\nFpA=156100\r\nDot=1\r\nshiftFr=200000\r\n", with({"--mode", "custom"}),
         "at or above 22050 Hz"},
        {"VFO A without a waveform", "TXT1=TEST\r\nTA=0\r\n", run, "TA=0"},
        {"a port choice with no port", "TXT1=TEST\r\niCom=5\r\n", run, "iCom=5"},
        {"an end ID that is not stored", "TXT1=TEST\r\n", with({"--id-end"}), "--id-end"},
        {"text with nothing to send", "", with({"--text", "\xC3\xA9\xC3\xA9"}),
         "nothing in \"\xC3\xA9\xC3\xA9\""},
        {"a folder as the settings", "", {"beacon", "--settings", "."}, "is a directory"},
        {"a FIFO as the settings", "", {"beacon", "--settings", "fifo"}, "not a regular file"},
        {"binary garbage as the settings", "", {"beacon", "--settings", "garbage"}, "is not a settings file"},
        {"an audio device that runs a command",
         "TXT1=TEST\r\nAudioDevice=file:FILE=\"|touch ran\",FORMAT=raw\r\n", with({"--mode", "qrss1"}),
         "holds a pipe to a command"},
    };
    for (const Case& bad : cases) {
        SCOPED_TRACE(bad.what);
        const fs::path dir = stationDir("refused", bad.settings, true);
        ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
        std::ofstream(dir / "garbage", std::ios::binary)
            << std::string{'\x7f', 'E', 'L', 'F', '\0', '\x01', '\xff', '\xfe'};
        const OpenWatch port(dir / "port");
        RunningProgram program(TARVEL_EXECUTABLE, dir, bad.arguments);
        EXPECT_TRUE(keysNothing(program, port)) << "the program opened the port or did not end";
        EXPECT_EQ(program.exitStatus(), 2) << program.output() << program.errors();
        EXPECT_TRUE(program.errors().starts_with("tarvel beacon: ")) << program.errors();
        EXPECT_NE(program.errors().find(bad.said), std::string::npos) << program.errors();
        EXPECT_FALSE(fs::exists(dir / "ran"));
    }
}

TEST(Beacon, ASerialPortNamedAsTheSettingsIsNeverOpened) {
    const auto watcher = watchPort();
    if (!watcher)
        GTEST_SKIP() << tarvel::e2e::kPort << " is absent or its modem lines cannot be set and read here";
    const fs::path dir = stationDir("tty-settings", "");
    RunningProgram program(TARVEL_EXECUTABLE, dir, {"beacon", "--dry-run", "--settings", tarvel::e2e::kPort});
    ASSERT_TRUE(program.ends(60s, [] {})) << program.errors();
    EXPECT_EQ(program.exitStatus(), 2) << program.errors();
    EXPECT_NE(program.errors().find("not a regular file"), std::string::npos) << program.errors();
    EXPECT_EQ(watcher->lines(), 0);
}

TEST(Beacon, ASoundDeviceThatCannotPlayEndsTheRunWithStatusOne) {
    const auto watcher = watchPort();
    // One that cannot be opened at all, and one that fails at its first writes.
    for (const std::string device :
         {"hw:CARD=NoSuchCard", "file:FILE=/nonexistent/folder/out.raw,FORMAT=raw"}) {
        SCOPED_TRACE(device);
        const fs::path dir =
            stationDir("no-sound", "TXT1=TEST\r\nAudioDevice=" + device + "\r\nAudioDeviceAnyPcm=1\r\n");
        RunningProgram program(TARVEL_EXECUTABLE, dir, {"beacon", "--settings", "station.ini"});
        ASSERT_TRUE(program.ends(60s, [] {})) << program.output() << program.errors();
        EXPECT_EQ(program.exitStatus(), 1) << program.errors();
        EXPECT_TRUE(
            program.errors().starts_with("tarvel beacon: the sound device \"" + device + "\" cannot play: "))
            << program.errors();
        EXPECT_EQ(program.output().find("next pass"), std::string::npos) << program.output();
        EXPECT_NE(program.output().find("ended by the failure above"), std::string::npos) << program.output();
        if (watcher) {
            EXPECT_EQ(watcher->lines(), 0);
        }
        EXPECT_EQ(tarvel::mock::readFile(dir / "vfolog.txt").find("Start : "), std::string::npos);
    }
}

TEST(Beacon, SigtermInADashEndsThePassAtOnceAndInOrder) {
    const auto watcher = watchPort();
    if (!watcher)
        GTEST_SKIP() << tarvel::e2e::kPort << " is absent or its modem lines cannot be set and read here";
    const fs::path dir = stationDir("keyed", "");
    std::ofstream(dir / "station.ini", std::ios::binary | std::ios::app)
        << "AudioDevice=file:FILE=" << (dir / "out.raw").string() << ",FORMAT=raw\r\nAudioDeviceAnyPcm=1\r\n";
    // One dash of 9 s: room for a busy machine between the dash's start and the signal's effect.
    RunningProgram program(TARVEL_EXECUTABLE, dir,
                           {"beacon", "--settings", "station.ini", "--mode", "qrss3", "--text", "T"});
    // Opening the port raises both lines for a moment; PTT alone is the opening pause, then the key rises.
    const auto deadline = Clock::now() + 60s;
    for (const int awaited : {TIOCM_DTR, TIOCM_RTS | TIOCM_DTR}) {
        while (watcher->lines() != awaited) {
            ASSERT_TRUE(program.running()) << program.output() << program.errors();
            ASSERT_LT(Clock::now(), deadline) << "the lines never showed " << awaited << ":\n"
                                              << program.output() << program.errors();
            std::this_thread::sleep_for(1ms);
        }
    }
    // Early in the dash: a program that finished the element before it stopped would take over 7 s.
    std::this_thread::sleep_for(500ms);
    ASSERT_EQ(watcher->lines(), TIOCM_RTS | TIOCM_DTR) << "the dash ended early:\n" << program.output();

    const auto signalled = Clock::now();
    ASSERT_TRUE(program.stop(SIGTERM, 10s)) << program.output() << program.errors();
    const auto stopMs = std::chrono::duration<double, std::milli>(Clock::now() - signalled).count();
    std::cout << "SIGTERM to exit: " << stopMs << " ms\n";
    RecordProperty("sigterm_to_exit_ms", std::to_string(stopMs));
    EXPECT_LT(stopMs, 7000.0);

    EXPECT_EQ(program.exitStatus(), 0) << program.errors();
    EXPECT_EQ(watcher->lines(), 0);
    const auto log = tarvel::e2e::crlfLines(tarvel::mock::readFile(dir / "vfolog.txt"));
    const auto starts = [](std::string_view prefix) {
        return [prefix](const std::string& line) { return line.starts_with(prefix); };
    };
    const auto start = std::find_if(log.begin(), log.end(), starts("Start : "));
    EXPECT_TRUE(std::find_if(start, log.end(), starts(" Stop : ")) != log.end())
        << "no stop record after the start record:\n"
        << tarvel::mock::readFile(dir / "vfolog.txt");
    EXPECT_FALSE(tarvel::mock::readFile(dir / "out.raw").empty());
    EXPECT_NE(program.output().find("  dash  "), std::string::npos) << program.output();
}

} // namespace

// Renders to tone.wav in dir (VFO A 1500 Hz: 136 kHz off, factor 1) after the dry run of the same line;
// returns the dry run's output and the left channel's samples.
std::pair<std::string, std::vector<std::int16_t>> render(const fs::path& dir, std::vector<std::string> line) {
    std::string outputs[2];
    line.insert(line.begin(), {"beacon", "--settings", "station.ini", "--dry-run"});
    for (std::string& output : outputs) {
        RunningProgram program(TARVEL_EXECUTABLE, dir, line);
        EXPECT_TRUE(program.ends(60s) && program.exitStatus() == 0) << program.errors();
        output = program.output();
        line[3] = "--render=tone.wav";
    }
    const std::string bytes = tarvel::mock::readFile(dir / "tone.wav");
    std::vector<std::int16_t> left;
    for (std::size_t i = 44; i + 4 <= bytes.size(); i += 4)
        left.push_back(static_cast<std::int16_t>((bytes[i] & 0xFF) | (bytes[i + 1] << 8)));
    return {outputs[0], left};
}

// Every sample against the dry run within 1 LSB: DFCW retunes (at each gap, to the tone of the next key on)
// restart the tone on sample time; FSKCW moves go on from the phase counted in whole units.
TEST(Beacon, RenderPutsDfcwRetunesAndFskcwMovesOnTheirSamples) {
    for (const std::string mode : {"dfcw3", "fskcw1"}) {
        const auto [plan, left] = render(stationDir(mode, "freq=137500\r\nFpA=136000\r\nN=1\r\n", true),
                                         {"--text", "TE", "--mode", mode});
        std::vector<std::tuple<std::int64_t, std::int64_t, bool>> moves; // sample, word, continuous
        std::int64_t startUs = -1, word = 1500 * 4096, units = -1;
        std::istringstream lines(plan);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t vfo = line.find("VFO A "), at = line.find(" 20") + 1;
            const bool gap = mode[0] == 'd' && line.ends_with("key off");
            if (vfo == std::string::npos && !gap && !line.starts_with("pass 1"))
                continue;
            const std::int64_t us = utcMs(line.substr(at, 23) + "Z") * 1000 +
                                    (line[at + 23] == 'Z' ? 0 : std::stoi(line.substr(at + 23, 3)));
            if (line.starts_with("pass 1"))
                startUs = us;
            else
                moves.emplace_back(((us - startUs) * 441 + 5000) / 10000,
                                   gap ? 0 : std::llround((std::stod(line.substr(vfo + 6)) - 136000) * 4096),
                                   !gap && line.find("key on") == std::string::npos);
        }
        for (std::size_t i = moves.size(); i-- > 0;)
            if (std::get<1>(moves[i]) == 0)
                std::get<1>(moves[i]) = std::get<1>(moves[i + 1 < moves.size() ? i + 1 : i - 1]);
        ASSERT_GT(left.size(), 44100u * 8) << mode;
        for (std::int64_t i = 0, next = 0; i < static_cast<std::int64_t>(left.size()); ++i) {
            for (; next < std::ssize(moves) && std::get<0>(moves[next]) == i;
                 word = std::get<1>(moves[next++]))
                units = !std::get<2>(moves[next]) ? -1 : units < 0 ? word * i % (4096 * 44100) : units;
            const long double cycle = (units < 0 ? word * i : units) / (4096.0L * 44100);
            ASSERT_LE(std::abs(left[i] - std::llround(22000 * std::sin(6.28318530717958647692L * cycle))), 1)
                << mode << " sample " << i;
            units = units < 0 ? units : (units + word) % (4096 * 44100);
        }
    }
}

// A render that a file-size limit stops partway: status 1, the reason, and no file cut short left behind.
TEST(Beacon, ARenderThatFailsPartwayLeavesNoFileBehind) {
    const fs::path dir = stationDir("render-cut", "", true);
    RunningProgram program("/usr/bin/prlimit", dir,
                           {"--fsize=100000", TARVEL_EXECUTABLE, "beacon", "--settings=station.ini",
                            "--render=tone.wav", "--text=TE"});
    EXPECT_TRUE(program.ends(60s) && program.exitStatus() == 1 && !fs::exists(dir / "tone.wav"));
    EXPECT_NE(program.errors().find("tone.wav: File too large; the part written was removed"),
              std::string::npos)
        << program.errors();
}

// The outside decoder on a rendered WSPR pass, taken to 12 kHz mono (linear interpolation serves one tone)
// in a file named with the time stamp the decoder wants: the message, its frequency, DT near 0.
TEST(Beacon, RenderOfAWsprPassDecodesWithTheOutsideDecoder) {
    if (::access("/usr/bin/wsprd", X_OK) != 0)
        GTEST_SKIP() << "wsprd (package wsjtx) is not installed";
    const fs::path dir = stationDir("wspr-render", "freq=137500\r\nFpA=136000\r\nN=1\r\n", true);
    const auto left = render(dir, {"--mode=wspr2", "--call=K1ABC", "--locator=FN42", "--power=37"}).second;
    std::string mono;
    const auto put = [&mono](std::uint32_t value, int bytes) {
        for (int b = 0; b < bytes; ++b)
            mono += static_cast<char>(value >> (8 * b));
    };
    for (std::size_t k = 0, i = 0; (i = k * 147 / 40) + 1 < left.size(); ++k)
        put(static_cast<std::uint16_t>(
                std::lround(left[i] + (left[i + 1] - left[i]) * ((k * 147 % 40) / 40.0))),
            2);
    std::ofstream file(dir / "000000_0000.wav", std::ios::binary);
    file << "RIFF" << std::string(4, 0) << "WAVEfmt "
         << std::string("\x10\0\0\0\1\0\1\0\xe0\x2e\0\0\xc0\x5d\0\0\2\0\x10\0", 20) << "data"
         << std::string(4, 0) << mono;
    file.close();
    ASSERT_EQ(std::system(("cd '" + dir.string() + "' && wsprd -f 0.136 000000_0000.wav > decoded").c_str()),
              0);
    // "0000  43 -0.0   0.137500  0  K1ABC FN42 37": DT in columns 9 to 13.
    const std::string decoded = tarvel::mock::readFile(dir / "decoded");
    EXPECT_NE(decoded.find("0.137500  0  K1ABC FN42 37"), std::string::npos) << decoded;
    EXPECT_LT(std::abs(std::stod(decoded.substr(8, 5))), 0.2) << decoded;
}
