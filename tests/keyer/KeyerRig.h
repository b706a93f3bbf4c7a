#pragma once
// The beacon keyer on virtual time: VFO controls and frequency plan, a tone on a recording device, the
// activity log, recorded control lines, and the keyer's panels, Start TX, estimate and sequencer wired as
// the main window wires them.
#include "audio/OutputStream.h"
#include "audio/ToneOutput.h"
#include "controls/CheckBox.h"
#include "controls/Memo.h"
#include "controls/RadioButton.h"
#include "controls/RadioGroup.h"
#include "controls/Simple.h"
#include "controls/TextField.h"
#include "freqplan/FreqplanRig.h"
#include "freqplan/FrequencyWord.h"
#include "keyer/EstimateDisplay.h"
#include "keyer/IdPanel.h"
#include "keyer/KeyerState.h"
#include "keyer/PortPanel.h"
#include "keyer/Sequencer.h"
#include "keyer/StartTx.h"
#include "log/ActivityLog.h"
#include "log/Logbook.h"
#include "mock/RecordingAudioDevice.h"
#include "mock/RecordingControlLines.h"
#include "mock/VirtualTime.h"

#include <filesystem>
#include <memory>
#include <string>

namespace tarvel::test {

using namespace tarvel::controls;

inline constexpr keyer::KeyingValues kCw{100, 3, 1, 3, 0, 0};
inline constexpr keyer::KeyingValues kQrss1{1000, 3, 1, 3, 0, 0};
inline constexpr keyer::KeyingValues kDfcw3{3000, 1, 3, 2, 200, 1};
inline constexpr keyer::KeyingValues kDfcw60{60000, 1, 2, 3, 20, 1};

using Edge = mock::RecordingControlLines::Operation;
using Line = mock::RecordingControlLines::Line;

struct KeyerRig {
    // txIniPath: where Start TX stores the messages; by default the rig's own settings file.
    explicit KeyerRig(std::string txIniPath = {})
        : txIni(txIniPath.empty() ? fp.ini.path() : std::move(txIniPath)) {
        std::filesystem::remove("vfolog.txt");
        RgCom.setItemIndex(0);
    }

    mock::VirtualTime time;
    std::unique_ptr<mock::VirtualTimer> timer1 = time.makeTimer();
    FreqplanRig fp;
    keyer::KeyerState state;

    // Tone.
    std::shared_ptr<mock::AudioRecord> record = std::make_shared<mock::AudioRecord>();
    audio::OutputStream stream{fp.vfoA, fp.vfoB, mock::RecordingAudioDevice::factory(record)};
    audio::ToneOutput tone{
        stream,
        fp.vfoA,
        fp.vfoB,
        fp.ini,
        {[this] { return fp.plan.tunedCoarseHz(); }, [this] { return fp.plan.tunedFineCentiHz(); },
         [this] {
             return audio::ChannelValues{fp.plan.vfoAWord(), fp.plan.vfoAWaveform(), fp.plan.vfoALevel()};
         },
         [this] {
             return audio::ChannelValues{fp.plan.vfoBWord(), fp.plan.vfoBWaveform(), fp.plan.vfoBLevel()};
         }}};

    // Activity log.
    log::ActivityLog logFile{"vfolog.txt", time};
    log::Logbook logbook{logFile, fp.ini};

    // Port panel.
    mock::RecordingControlLines lines{[this] { return time.nowMs(); }};
    MenuItem P1{"P1", "Port"};
    Panel PnPort{"PnPort"};
    RadioGroup RgCom{"RgCom", "", {"Com1", "Com2"}, 1};
    RadioGroup RgRTS{"RgRTS", "", {"RTS", "DTR"}, 0};
    TextField EdPort1{"EdPort1", "/dev/ttyS0"}, EdPort2{"EdPort2", "/dev/ttyS1"};
    Button Button7{"Button7", "OK"}, OpenPort{"OpenPort", "Open Com Port"};
    Label Label32{"Label32", "clk"}, Label33{"Label33", "clk"};
    keyer::PortPanel port{
        {P1, PnPort, RgCom, RgRTS, EdPort1, EdPort2, Button7, OpenPort, Label32, Label33}, lines, fp.ini};

    // Identification panel.
    MenuItem ID1{"ID1", "   ID   "};
    Panel Pnid{"Pnid"};
    CheckBox ChStart{"ChStart", "ID Start"}, ChStop{"ChStop", "ID End"};
    TextField Ed_id_Start{"Ed_id_Start"}, Ed_id_End{"Ed_id_End"};
    RadioSet idStartSet, idEndSet;
    RadioButton RBtCWs{"RBtCWs", "CW", idStartSet, true}, RBtQrss3s{"RBtQrss3s", "QRSS3", idStartSet};
    RadioButton RBtCW{"RBtCW", " CW", idEndSet, true}, RBtQrss3{"RBtQrss3", " QRSS3", idEndSet};
    Button BtPNid{"BtPNid", "Ok"};
    keyer::IdPanel idPanel{{ID1, Pnid, Ed_id_Start, RBtCWs, RBtQrss3s, Ed_id_End, RBtCW, RBtQrss3, BtPNid},
                           fp.ini};

    // Beacon panel and diagnostic panel.
    Label Lbmode{"Lbmode", " CW"}, Lbo{"Lbo", "-------"}, LbTextNow{"LbTextNow"}, LbTTX{"LbTTX"},
        LbTxEnd{"LbTxEnd"};
    TextField EdTtx{"EdTtx"}, Ed3{"Ed3"}, Edit4{"Edit4"}, EdTX{"EdTX"};
    TextField EdTX1{"EdTX1", "E"}, EdTX2{"EdTX2", "A"}, EdTX3{"EdTX3"}, EdTX4{"EdTX4"};
    CheckBox ChLoop{"ChLoop", ""};
    Panel PnTX1{"PnTX1", "TX"}, PnTX2{"PnTX2", "TX"}, PnTX3{"PnTX3", "TX"}, PnTX4{"PnTX4", "TX"};
    Memo Memo1{"Memo1"};
    Button BtStopTX{"BtStopTX", "Stop TX"}, BtTX{"BtTX", "Start TX"};
    Button dot{"dot", "Dot"}, dash{"dash", "dash"}, lPause{"lPause", "L Pause"},
        bigPause{"bigPause", "bigPause"}, btStP{"btStP", "StartP"}, BtPause{"BtPause", "BtPause"},
        Button3{"Button3", "txtx"}, Button4{"Button4", "kk:=1"}, cw{"cw", "cw"};

    keyer::Sequencer sequencer{{Ed3,    Memo1,     Edit4, Lbo,      LbTextNow, Lbmode,  LbTTX,
                                EdTtx,  ChLoop,    PnTX1, PnTX2,    PnTX3,     PnTX4,   Label32,
                                RBtCWs, RBtQrss3s, RBtCW, RBtQrss3, BtStopTX,  dot,     dash,
                                lPause, bigPause,  btStP, BtPause,  Button3,   Button4, cw},
                               state,
                               *timer1,
                               port.transmitter(),
                               fp.plan,
                               tone,
                               logbook,
                               time,
                               fp.sink};
    keyer::EstimateDisplay estimate{
        {Ed3, LbTTX, LbTxEnd, EdTtx, RBtCW, RBtQrss3, RBtCWs, RBtQrss3s}, state, time};
    settings::IniFile txIni;
    keyer::StartTx startTx{{BtTX, EdTX, EdTX1, EdTX2, EdTX3, EdTX4, ChStart, Ed_id_Start, ChStop, Ed_id_End,
                            Ed3, Memo1, LbTextNow, Label32, PnTX1, PnTX2, PnTX3, PnTX4},
                           state,
                           tone,
                           port.transmitter(),
                           txIni,
                           logbook,
                           estimate,
                           sequencer,
                           *timer1};

    void act(const std::function<void()>& f) { fp.act(f); }

    // What a message panel does before Start TX: the message, the running flag, the green panel.
    void send(const std::string& message) {
        state.messageText = message;
        state.txActive = 1;
        PnTX1.setColor(controls::rgb(0, 170, 0));
        EdTX.setText(message);
        act([&] { BtTX.click(); });
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
