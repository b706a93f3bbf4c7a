#pragma once
// The beacon keyer on virtual time: the frequency plan, a tone on a recording device, the activity log,
// recorded control lines, the port, the stored messages and the transmission wired as the main window
// wires them, with what the transmission tells its panels recorded.
#include "audio/OutputStream.h"
#include "audio/ToneOutput.h"
#include "freqplan/FreqplanRig.h"
#include "freqplan/FrequencyWord.h"
#include "keyer/BeaconMessages.h"
#include "keyer/Port.h"
#include "keyer/Transmission.h"
#include "log/ActivityLog.h"
#include "log/Logbook.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingControlLines.h"
#include "mock/VirtualTime.h"
#include "platform/Locale.h"
#include "station/SettingsWriter.h"
#include "ui/controls/Memo.h"
#include "ui/controls/Simple.h"
#include "ui/panels/TransmissionPanel.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarvel::keyer {
// Readable failures: the six values instead of the object's bytes.
inline void PrintTo(const KeyingValues& v, std::ostream* os) {
    *os << "{TT " << v.dotMs << ", dash " << v.dashFactor << ", gap /" << v.gapDivisor << ", letter "
        << v.letterGapFactor << ", shift " << v.dfcwShift << ", dfcw " << static_cast<int>(v.dfcwMode) << "}";
}
} // namespace tarvel::keyer

namespace tarvel::test {

using namespace tarvel::ui::controls;

inline constexpr keyer::KeyingValues kCw{100, 3, 1, 3, 0, keyer::DfcwMode::Off};
inline constexpr keyer::KeyingValues kQrss1{1000, 3, 1, 3, 0, keyer::DfcwMode::Off};
inline constexpr keyer::KeyingValues kDfcw3{3000, 1, 3, 2, 200, keyer::DfcwMode::Dfcw};
inline constexpr keyer::KeyingValues kDfcw60{60000, 1, 2, 3, 20, keyer::DfcwMode::Dfcw};

using Edge = mock::RecordingControlLines::Operation;
using Line = mock::RecordingControlLines::Line;

struct KeyerRig {
    // txIniPath: where Start TX stores the messages; by default the rig's own settings file.
    explicit KeyerRig(std::string txIniPath = {})
        : txIni(txIniPath.empty() ? fp.ini.path() : std::move(txIniPath)) {
        std::filesystem::remove("vfolog.txt");
        auto& n = transmission.notices;
        n.elementBegun.connect([this](keyer::Element e) { element = ui::panels::elementMark(e); });
        n.passChanged.connect([this](bool on) { sending = on; });
        n.messagesIdle.connect([this] { messagesIdle = true; });
        n.manualPttOffered.connect([this](bool on) { manualPtt = on; });
        n.gapShiftShown.connect([this](std::int32_t hz) { gapShift = std::to_string(hz); });
        n.shiftTraced.connect([this](std::int32_t df, std::int64_t position) {
            trace.push_back("df=" + std::to_string(df) + "  " + std::to_string(position));
        });
        n.identificationTraced.connect([this](std::int32_t tt, unsigned char next) {
            trace.push_back("TT=" + std::to_string(tt) + "  " + std::to_string(next));
        });
        n.compilerTraced.connect([this](const std::string& line) { trace.push_back(line); });
        n.estimateChanged.connect([this] { ++estimates; });
        n.loopRestarted.connect(
            [this](const platform::LocalTime& start) { passStart = platform::formatLongTime(start); });
        transmission.setMode({" CW", kCw});
        messages.setText(1, "E");
        messages.setText(2, "A");
        station::writeChangesOf(fp.ini, tone);
        station::writeChangesOf(fp.ini, logbook);
        station::writeChangesOf(fp.ini, port);
        station::writeChangesOf(txIni, messages);
    }

    mock::VirtualTime time;
    std::unique_ptr<mock::VirtualTimer> timer1 = time.makeTimer();
    FreqplanRig fp;

    // Tone.
    std::shared_ptr<mock::AudioRecord> record = std::make_shared<mock::AudioRecord>();
    audio::OutputStream stream{fp.vfoA, fp.vfoB, mock::RecordingAudioDevice::factory(record)};
    audio::ToneOutput tone{stream, fp.vfoA, fp.vfoB, fp.ini, fp.plan};

    // Activity log.
    log::ActivityLog logFile{"vfolog.txt", time};
    log::Logbook logbook{logFile};

    mock::RecordingControlLines lines{[this] { return time.nowMs(); }};
    keyer::Port port{lines};
    settings::IniFile txIni;
    keyer::BeaconMessages messages;
    keyer::Transmission transmission{*timer1, port.transmitter(), fp.plan, tone,
                                     logbook, messages,           time,    fp.sink};

    // What the transmission told its panels.
    std::string element = "-------";
    std::optional<bool> sending;
    bool messagesIdle = false;
    bool manualPtt = true;
    std::string gapShift;
    std::vector<std::string> trace;
    int estimates = 0;
    std::string passStart;

    void act(const std::function<void()>& f) { fp.act(f); }
    void openPort() {
        act([&] { port.open({keyer::ComPort::Com1, keyer::KeyLine::Rts, "/dev/ttyS0", "/dev/ttyS1"}); });
    }

    // What a message panel does: the message goes to Start TX.
    void send(const std::string& message) {
        messagesIdle = false;
        act([&] { transmission.sendMessage(message); });
    }
    // Runs every step due up to virtual time t.
    void runUntil(std::int64_t t) { time.advance(t - time.nowMs()); }
    // Runs the chain until Timer1 is no longer armed.
    void runToIdle() {
        while (time.runNext()) {
        }
    }
    std::string logText() const { return readFile("vfolog.txt"); }
    // VFO A's word at the rig's frequency, 480000 Hz, lowered by df hundredths of a hertz.
    static std::int64_t vfoAWord(std::int32_t df) {
        return freqplan::computeFrequencyWord(freqplan::vfoAFrequency(480000, 0, 0, df), 1.0, 16).word;
    }
};

inline Edge rts(bool on, std::int64_t t) {
    return {Line::Rts, on, t};
}
inline Edge dtr(bool on, std::int64_t t) {
    return {Line::Dtr, on, t};
}

} // namespace tarvel::test
