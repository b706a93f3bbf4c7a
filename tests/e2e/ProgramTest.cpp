// The built program itself: started in a folder of its own on a hand-written settings file, then ended
// by a signal; what it leaves behind is what an operator would find.
#include "LogLines.h"
#include "RunningProgram.h"
#include "mock/Files.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using tarvel::e2e::RunningProgram;

TEST(Program, StartsOnAHandWrittenSettingsFileAndKeepsItsValuesAndForeignLines) {
    const fs::path dir = fs::current_path() / "run";
    fs::remove_all(dir);
    fs::create_directories(dir);
    // The settings file is named after the executable, so the copy gets one of its own.
    const fs::path executable = dir / "tarvel";
    fs::copy_file(TARVEL_EXECUTABLE, executable);
    // The window's module goes with it, as it lies beside the built executable.
    fs::copy_file(fs::path(TARVEL_EXECUTABLE).parent_path() / "tarvel-window.so", dir / "tarvel-window.so");
    fs::permissions(executable, fs::perms::owner_all, fs::perm_options::add);

    const std::string audio =
        "AudioDevice=file:FILE=" + (dir / "out.raw").string() + ",FORMAT=raw\r\nAudioDeviceAnyPcm=1\r\n";
    const std::string before = "; station notes\r\n"
                               "[Param]\r\n"
                               " freq = 137600 \r\n"
                               "01x=50\r\n"
                               "ta = 1\r\n"
                               "  TB=1  \r\n"
                               "frrx = 136000\r\n"
                               "Fp=500000\r\n"
                               "Nrx=32\r\n"
                               "log=1\r\n"
                               "maxf=138000\r\n"
                               "MinF=137000\r\n"
                               "iPr=3\r\n" +
                               audio +
                               "; the antenna is tuned for 137.6 kHz\r\n"
                               "va=1\r\n"
                               "VB = 1\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "freq=1\r\n"
                               "; \xCF\xF0\xE8\xEC\xE5\xF0\r\n"; // Windows-1251 text, kept as bytes
    std::ofstream(dir / "tarvel.ini", std::ios::binary) << before;

    RunningProgram program(executable, dir);
    ASSERT_TRUE(program.started());
    // Start-up has ended once the header line is in the log and the VFO B frequency, the last key the
    // start-up sequence writes, has been rewritten.
    const auto deadline = Clock::now() + std::chrono::seconds(120);
    for (;;) {
        const std::string log = tarvel::mock::readFile(dir / "vfolog.txt");
        const std::string ini = tarvel::mock::readFile(dir / "tarvel.ini");
        if (log.find("\r\n") != std::string::npos && ini.find("\r\nfrrx=136000\r\n") != std::string::npos)
            break;
        ASSERT_TRUE(program.running())
            << "the program ended during start-up with status " << program.status() << ":\n"
            << program.output() << program.errors();
        ASSERT_LT(Clock::now(), deadline) << "no start-up seen; log:\n" << log << "\nsettings:\n" << ini;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(program.stop(SIGTERM, std::chrono::seconds(60))) << program.output() << program.errors();
    // The signal ends the program through its event loop, as closing the window does.
    EXPECT_TRUE(WIFEXITED(program.status()) && WEXITSTATUS(program.status()) == 0)
        << "status " << program.status() << ":\n"
        << program.output() << program.errors();

    // Start-up rewrites the keys of the controls whose change it ran (the waveforms, the layout choices,
    // the VFO B offset and frequency, the priority) in their own spelling without the blanks, and adds the
    // correction factor, whose field changed from its design text. Everything else stays byte for byte.
    const std::string after = "; station notes\r\n"
                              "[Param]\r\n"
                              " freq = 137600 \r\n"
                              "01x=50\r\n"
                              "ta=1\r\n"
                              "TB=1\r\n"
                              "frrx=136000\r\n"
                              "Fp=500000\r\n"
                              "Nrx=32\r\n"
                              "log=1\r\n"
                              "maxf=138000\r\n"
                              "MinF=137000\r\n"
                              "iPr=3\r\n" +
                              audio +
                              "; the antenna is tuned for 137.6 kHz\r\n"
                              "va=1\r\n"
                              "VB=1\r\n"
                              "corr=1\r\n"
                              "\r\n"
                              "[Other]\r\n"
                              "freq=1\r\n"
                              "; \xCF\xF0\xE8\xEC\xE5\xF0\r\n";
    EXPECT_EQ(tarvel::mock::readFile(dir / "tarvel.ini"), after);

    // Logging was on: exactly the header line, written before the window showed.
    const std::string log = tarvel::mock::readFile(dir / "vfolog.txt");
    const auto lines = tarvel::e2e::crlfLines(log);
    ASSERT_EQ(lines.size(), 1u) << log;
    EXPECT_TRUE(tarvel::e2e::isHeaderLine(lines[0])) << log;
    // Nobody pressed Start: the audio device was never opened.
    EXPECT_FALSE(fs::exists(dir / "out.raw"));
    fs::remove(executable);
    fs::remove(dir / "tarvel-window.so");
}

} // namespace
