#pragma once
// The keyer's panels over the keyer rig, with the controls they bind, wired as the main window wires
// them.
#include "controls/CheckBox.h"
#include "controls/RadioButton.h"
#include "controls/RadioGroup.h"
#include "controls/SpinField.h"
#include "controls/TextField.h"
#include "keyer/KeyerRig.h"
#include "keyer/Presets.h"
#include "ui/panels/BeaconMessagesPanel.h"
#include "ui/panels/DiagnosticPanel.h"
#include "ui/panels/EstimatePanel.h"
#include "ui/panels/IdPanel.h"
#include "ui/panels/PortPanel.h"
#include "ui/panels/PresetsPanel.h"
#include "ui/panels/TransmissionPanel.h"

namespace tarvel::test {

struct KeyerPanelsRig : KeyerRig {
    using KeyerRig::KeyerRig;

    // Port panel.
    MenuItem P1{"P1", "Port"};
    Panel PnPort{"PnPort"};
    RadioGroup RgCom{"RgCom", "", {"Com1", "Com2"}, 0};
    RadioGroup RgRTS{"RgRTS", "", {"RTS", "DTR"}, 0};
    TextField EdPort1{"EdPort1", "/dev/ttyS0"}, EdPort2{"EdPort2", "/dev/ttyS1"};
    Button Button7{"Button7", "OK"}, OpenPort{"OpenPort", "Open Com Port"};
    Label Label32{"Label32", "clk"}, Label33{"Label33", "clk"};
    ui::panels::PortPanel portPanel{
        {P1, PnPort, RgCom, RgRTS, EdPort1, EdPort2, Button7, OpenPort, Label32, Label33},
        port,
        transmission};

    // Identification panel.
    MenuItem ID1{"ID1", "   ID   "};
    Panel Pnid{"Pnid"};
    CheckBox ChStart{"ChStart", "ID Start"}, ChStop{"ChStop", "ID End"};
    TextField Ed_id_Start{"Ed_id_Start"}, Ed_id_End{"Ed_id_End"};
    RadioSet idStartSet, idEndSet;
    RadioButton RBtCWs{"RBtCWs", "CW", idStartSet, true}, RBtQrss3s{"RBtQrss3s", "QRSS3", idStartSet};
    RadioButton RBtCW{"RBtCW", " CW", idEndSet, true}, RBtQrss3{"RBtQrss3", " QRSS3", idEndSet};
    Button BtPNid{"BtPNid", "Ok"};
    ui::panels::IdPanel idPanel{
        {ID1, Pnid, ChStart, Ed_id_Start, RBtCWs, RBtQrss3s, ChStop, Ed_id_End, RBtCW, RBtQrss3, BtPNid},
        transmission.identification(),
        fp.ini};

    // Beacon panel.
    Label Lbo{"Lbo", "-------"}, LbTextNow{"LbTextNow"}, LbTTX{"LbTTX"}, LbTxEnd{"LbTxEnd"};
    TextField EdTtx{"EdTtx"};
    CheckBox ChLoop{"ChLoop", ""};
    Button BtStopTX{"BtStopTX", "Stop TX"};
    ui::panels::TransmissionPanel transmissionPanel{{Lbo, LbTextNow, ChLoop, BtStopTX}, transmission};
    ui::panels::EstimatePanel estimatePanel{{LbTTX, LbTxEnd, EdTtx}, transmission};

    // Stored messages and the clock.
    std::unique_ptr<mock::VirtualTimer> timer2 = time.makeTimer();
    keyer::BeaconClock clock{logbook, time, *timer2, fp.sink};
    TextField EdTX1{"EdTX1", "E"}, EdTX2{"EdTX2", "A"}, EdTX3{"EdTX3"}, EdTX4{"EdTX4"};
    Panel PnTX1{"PnTX1", "TX"}, PnTX2{"PnTX2", "TX"}, PnTX3{"PnTX3", "TX"}, PnTX4{"PnTX4", "TX"};
    Label LbTimeNow{"LbTimeNow"};
    ui::panels::BeaconMessagesPanel messagesPanel{
        {{&EdTX1, &EdTX2, &EdTX3, &EdTX4}, {&PnTX1, &PnTX2, &PnTX3, &PnTX4}, LbTimeNow},
        messages,
        clock,
        transmission};

    // Diagnostic panel.
    Button dot{"dot", "Dot"}, dash{"dash", "dash"}, lPause{"lPause", "L Pause"},
        bigPause{"bigPause", "bigPause"}, btStP{"btStP", "StartP"}, BtPause{"BtPause", "BtPause"},
        Button3{"Button3", "txtx"}, Button4{"Button4", "kk:=1"}, cw{"cw", "cw"}, BtText{"BtText", "BtText"},
        BtTX{"BtTX", "Start TX"};
    TextField EdbufTtx{"EdbufTtx"}, EdTX{"EdTX"}, Ed3{"Ed3"}, Edit4{"Edit4"};
    Memo Memo1{"Memo1"};
    std::vector<std::string> clipboard;
    ui::panels::DiagnosticPanel diagnosticPanel{
        {dot, dash, lPause, bigPause, btStP, BtPause, Button3, Button4, cw, BtText, EdbufTtx, BtTX, EdTX, Ed3,
         Edit4, Memo1},
        transmission,
        [this](const std::string& text) { clipboard.push_back(text); }};

    // Presets.
    Button Button5{"Button5", "CW"};
    Label Lbmode{"Lbmode", "  CW"};
    Button BtQRSS1{"BtQRSS1", "1"}, Button6{"Button6", "3"}, Btqrss10{"Btqrss10", "10"},
        Btqrss20{"Btqrss20", "20"}, Btqrss30{"Btqrss30", "30"}, Btqrss60{"Btqrss60", "60"},
        Btqrss90{"Btqrss90", "90"}, Btqrss120{"Btqrss120", "120"};
    Button BtDFCW3{"BtDFCW3", "3"}, BtDFCW10{"BtDFCW10", "10"}, Btdfcw20{"Btdfcw20", "20"},
        Btdfcw30{"Btdfcw30", "30"}, btDFCW60{"btDFCW60", "60"}, BtDFCW90{"BtDFCW90", "90"},
        Btdfcw120{"Btdfcw120", "120"}, Btdfcw240{"Btdfcw240", "240"};
    Button Btdfcw60i{"Btdfcw60i", "60+"};
    Panel PnBtdfcw{"PnBtdfcw"};
    SpinField SpDot{"SpDot", 1, 3600, 1, 5};
    SpinField SpDash{"SpDash", 1, 3, 1, 1};
    SpinField SpLp{"SpLp", 1, 10, 1, 2};
    SpinField SpBigp{"SpBigp", 1, 3, 1, 3};
    SpinField SpShift{"SpShift", 0, 200000, 10, 20};
    Button Button9{"Button9", "Ok"};
    keyer::Presets presets{transmission, fp.ini};
    ui::panels::PresetsPanel presetsPanel{
        {Button5, Lbmode, speed(), Btdfcw60i, PnBtdfcw, SpDot, SpDash, SpLp, SpBigp, SpShift, Button9},
        presets,
        transmission};

    std::array<Button*, keyer::Presets::kSpeedButtons> speed() {
        return {&BtQRSS1, &Button6,  &Btqrss10, &Btqrss20, &Btqrss30, &Btqrss60, &Btqrss90,  &Btqrss120,
                &BtDFCW3, &BtDFCW10, &Btdfcw20, &Btdfcw30, &btDFCW60, &BtDFCW90, &Btdfcw120, &Btdfcw240};
    }

    // What a message panel does: message 1 holds the text, and its panel is clicked.
    void sendFromPanel(const std::string& message) {
        EdTX1.setText(message);
        act([&] { PnTX1.click(); });
    }
};

} // namespace tarvel::test
