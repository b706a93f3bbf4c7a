// The operator's day through the real windows, on the real timers, clock, priority and ALSA device (a
// file PCM instead of a sound card): tune and play both tones, then send a short CW beacon on a serial
// port that is not there. Only the message boxes are recorded instead of shown.
#include "LogLines.h"
#include "audio/ReferenceStream.h"
#include "mock/RecordingMessageSink.h"
#include "platform/LinuxProcessPriority.h"
#include "station/RealDevices.h"
#include "ui/MainWindow.h"
#include "ui/ProgramRig.h"
#include "ui/Wiring.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <thread>

namespace {

using namespace tarvel;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The real program's devices, as main() assembles them, in a working directory of the test's own.
struct RealProgram {
    explicit RealProgram(const std::string& settingsText) {
        test::application();
        std::ofstream(settingsPath(), std::ios::binary) << settingsText;
        form = std::make_unique<ui::Wiring>(ui::realDevices(
            real, sink, priority, [](const std::string&) {}, settingsPath()));
        windows = std::make_unique<ui::MainWindow>(*form, sink);
    }
    ~RealProgram() {
        windows.reset();
        form.reset();
        // The raw file of an unpaced PCM grows large; nothing needs it once the test is over.
        std::error_code ignored;
        fs::remove(rawPath(), ignored);
    }

    std::string settingsPath() const { return (dir.path() / "tarvel.ini").string(); }
    fs::path rawPath() const { return dir.path() / "out.raw"; }
    std::string log() const { return mock::readFile(dir.path() / "vfolog.txt"); }

    template <class W> W* widget(const std::string& name) const {
        auto* found = windows->mainWindow().widgetAs<W>(name);
        if (!found)
            throw std::runtime_error("no widget " + name);
        return found;
    }
    void trigger(const std::string& item) const {
        QAction* action = windows->mainWindow().action(item);
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }

    test::WorkingDirectory dir;
    mock::RecordingMessageSink sink;
    station::RealDevices real;
    platform::LinuxProcessPriority priority;
    std::unique_ptr<ui::Wiring> form;
    std::unique_ptr<ui::MainWindow> windows;
};

std::uintmax_t sizeOf(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

// Runs the event loop until done() holds; false at the deadline. Generous: the machine may be busy.
bool runUntil(const std::function<bool()>& done, std::chrono::seconds patience = std::chrono::seconds(60)) {
    const auto deadline = Clock::now() + patience;
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

double shownHertz(QLabel* label) {
    return label->text().replace(',', '.').toDouble();
}

// The tone's frequency from the first and last rising zero crossings, each placed between its two
// samples by linear interpolation: over a second that resolves far below 0.01 Hz.
double measuredHertz(const std::vector<std::int16_t>& stereo, int channel) {
    const std::size_t frames = stereo.size() / 2;
    double first = -1.0, last = -1.0;
    long cycles = -1;
    for (std::size_t k = 1; k < frames; ++k) {
        const double a = stereo[2 * (k - 1) + channel], b = stereo[2 * k + channel];
        if (a < 0 && b >= 0) {
            const double at = static_cast<double>(k - 1) + a / (a - b);
            if (first < 0)
                first = at;
            last = at;
            ++cycles;
        }
    }
    return cycles < 1 ? 0.0 : cycles * 44100.0 / (last - first);
}

int peakOf(const std::vector<std::int16_t>& stereo, int channel) {
    int result = 0;
    for (std::size_t k = channel; k < stereo.size(); k += 2)
        result = std::max(result, std::abs(static_cast<int>(stereo[k])));
    return result;
}

std::vector<std::int16_t> readSamples(const fs::path& path) {
    const std::string bytes = mock::readFile(path);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST(Workflow, PlaysBothTonesAsShownThenSendsACwBeaconAndLogsIt) {
    RealProgram program("[Param]\r\nfreq=137600\r\n01x=50\r\nTA=1\r\nTB=1\r\nfrrx=136000\r\nFp=500000\r\n"
                        "Nrx=32\r\nMaxF=138000\r\nMinF=137000\r\nVA=1\r\nVB=1\r\nBuffer=16\r\n"
                        "Port1=/dev/ttyNONEXISTENT\r\n");
    // The settings file names the PCM by its absolute path, known only now.
    std::ofstream(program.settingsPath(), std::ios::binary | std::ios::app)
        << "AudioDevice=file:FILE=" << program.rawPath().string() << ",FORMAT=raw\r\nAudioDeviceAnyPcm=1\r\n";
    program.form->startUp();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program.windows->mainWindow()));
    ASSERT_TRUE(program.sink.messages.empty()) << program.sink.messages.front();

    // What the options panel shows for both channels.
    program.trigger("Options2");
    const double toneA = shownHertz(program.widget<QLabel>("Label9"));
    const double toneB = shownHertz(program.widget<QLabel>("LbFoutrx"));
    EXPECT_EQ(toneA, 137600.5 / 16);
    EXPECT_EQ(toneB, (500000.0 - 136000.0) / 32) << "the stored VFO B offset, shown in EdFp, is not applied";
    // Both volumes set by the operator, one large step each way.
    auto* barA = program.widget<QScrollBar>("LevRScrollBar1");
    auto* barB = program.widget<QScrollBar>("LevLScrollBar1");
    QTest::keyClick(barA, Qt::Key_PageUp); // a scroll bar counts up toward its bottom or right end
    QTest::keyClick(barB, Qt::Key_PageDown);
    const int levelA = barA->value();
    const int levelB = barB->value();
    EXPECT_EQ(levelA, 20000);
    EXPECT_EQ(levelB, 24000);

    // Start, a second of sound or more, Stop. A file PCM takes the samples as fast as they come.
    auto* start = program.widget<QPushButton>("btnPlay");
    auto* stop = program.widget<QPushButton>("btnStop");
    QTest::mouseClick(start, Qt::LeftButton);
    ASSERT_TRUE(program.sink.messages.empty()) << program.sink.messages.front();
    EXPECT_FALSE(start->isEnabled());
    ASSERT_TRUE(runUntil(
        [&] { return sizeOf(program.rawPath()) >= 44100 * 4 || program.form->stream().workerFailed(); }));
    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_TRUE(start->isEnabled());
    // Stop only asks the worker to end; the file is complete once it has.
    program.form->stream().stopAndWait();
    ASSERT_FALSE(program.form->stream().workerFailed());
    EXPECT_EQ(program.form->stream().underrunCount(), 0);

    const auto played = readSamples(program.rawPath());
    ASSERT_GE(played.size(), 2u * 44100);
    EXPECT_NEAR(measuredHertz(played, 0), toneA, 0.01);
    EXPECT_NEAR(measuredHertz(played, 1), toneB, 0.01);
    EXPECT_LE(peakOf(played, 0), levelA);
    EXPECT_GE(peakOf(played, 0), levelA * 0.999);
    EXPECT_LE(peakOf(played, 1), levelB);
    EXPECT_GE(peakOf(played, 1), levelB * 0.999);

    // Sample for sample the synthesizer's stream of the tones shown (a tone below zero plays inverted and
    // shows its magnitude), buffer after buffer: nothing was lost or repeated where one buffer joins the
    // next.
    const std::int64_t wordA = program.form->vfoA().frequencyWord.load();
    const std::int64_t wordB = program.form->vfoB().frequencyWord.load();
    EXPECT_EQ(std::llabs(wordA), std::llrint(toneA * 4096));
    EXPECT_EQ(std::llabs(wordB), std::llrint(toneB * 4096));
    const int frames = program.form->stream().bufferBytes() / 4;
    const std::size_t buffers = (played.size() / 2 + frames - 1) / frames;
    const audio::test::Tone left{synth::WaveformKind::Sine, levelA, wordA};
    const audio::test::Tone right{synth::WaveformKind::Sine, levelB, wordB};
    const auto expected =
        audio::test::referenceBuffers(std::vector(buffers, left), std::vector(buffers, right), frames);
    std::size_t mismatches = 0, firstMismatch = 0;
    for (std::size_t s = 0; s < played.size(); ++s) {
        if (played[s] != expected[s / (2 * frames)][s % (2 * frames)] && mismatches++ == 0)
            firstMismatch = s;
    }
    EXPECT_EQ(mismatches, 0u) << "first at sample " << firstMismatch << " of " << played.size();

    // Logging on, the beacon view open; the port is not there, and the operator is told so.
    program.trigger("Log2");
    ASSERT_EQ(e2e::crlfLines(program.log()).size(), 1u) << program.log();
    EXPECT_TRUE(e2e::isHeaderLine(e2e::crlfLines(program.log())[0])) << program.log();
    program.trigger("QRSSDFCW2");
    EXPECT_EQ(program.sink.messages, std::vector<std::string>{"Unable to open /dev/ttyNONEXISTENT"});

    // "E" typed into the first message and sent from its panel: one dot in CW.
    auto* message = program.widget<QLineEdit>("EdTX1");
    QTest::mouseClick(message, Qt::LeftButton);
    QTest::keyClicks(message, "e");
    EXPECT_EQ(program.form->mainWindow().EdTX1.text(), "E");
    const auto sent = Clock::now();
    QTest::mouseClick(program.widget<QWidget>("PnTX1"), Qt::LeftButton);
    EXPECT_TRUE(program.form->tone().playing()); // the transmission started the stream
    EXPECT_FALSE(stop->isEnabled());
    ASSERT_TRUE(runUntil([&] { return !program.form->transmission().messageRunning(); }))
        << program.form->transmission().sequence() << " at " << program.form->transmission().position();
    // Opening pause, dot, letter gap: the end comes with the final gap, after the opening second at least.
    EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(1000));

    // The stream the transmission started is stopped again: the file stops growing.
    EXPECT_FALSE(program.form->tone().playing());
    EXPECT_TRUE(start->isEnabled());
    std::uintmax_t size = sizeOf(program.rawPath());
    auto steadySince = Clock::now();
    EXPECT_TRUE(runUntil(
        [&] {
            const std::uintmax_t now = sizeOf(program.rawPath());
            if (now != size) {
                size = now;
                steadySince = Clock::now();
            }
            return Clock::now() - steadySince > std::chrono::milliseconds(300);
        },
        std::chrono::seconds(10))); // a stream left running fills the disk fast: give up early
    program.form->stream().stopAndWait();
    EXPECT_GT(size, 0u);

    // The log: header, the start record quoting the message, mode, estimate and VFO A as the window
    // shows them, and the end record.
    const auto& m = program.form->mainWindow();
    const std::string log = program.log();
    const auto lines = e2e::crlfLines(log);
    ASSERT_EQ(lines.size(), 3u) << log;
    EXPECT_TRUE(e2e::isTime(m.LbTTX.caption())) << m.LbTTX.caption(); // the estimate, hh:mm:ss
    EXPECT_TRUE(e2e::isHeaderLine(lines[0])) << log;
    EXPECT_TRUE(e2e::isRecord(
        lines[1], "Start : ", "   " + m.Lbmode.caption() + "   " + m.LbTTX.caption() + "   \"E\" 137600,50"))
        << log;
    EXPECT_TRUE(e2e::isRecord(lines[2], "  End : ", "")) << log;
    EXPECT_EQ(program.sink.messages.size(), 1u); // the failed port is not tried again
}

} // namespace
