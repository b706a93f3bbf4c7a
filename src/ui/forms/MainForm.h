#pragma once
// The main window TForm1 as data: every control with its design caption, range, value, place, colour and
// visibility, and the menu. The window code builds the widgets from it and wires the handlers.
#include "audio/BufferSize.h"
#include "freqplan/Limits.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboField.h"
#include "ui/controls/Memo.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/ScrollBar.h"
#include "ui/controls/Simple.h"
#include "ui/controls/SpinField.h"
#include "ui/controls/TextField.h"
#include "ui/forms/Inventory.h"

namespace tarvel::ui::forms {

namespace limits = freqplan::limits;

struct MainForm : Inventory {
    MainForm();

    // Client area at design; the layouts of the options and beacon views change it at run time.
    static constexpr int kDesignWidth = 582;
    static constexpr int kDesignHeight = 327;
    // Border, caption and menu bar around the client area: the layouts set the outer size (590 wide
    // shows the options panel, 332 hides it; 374 high shows both VFO groups).
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 47;

    controls::Form TForm1{"TForm1", "Tarvel 1.2"};

    // Menu bar.
    controls::MenuItem Menu1{"Menu1", "Menu"};
    controls::MenuItem Help1{"Help1", "Help"};
    controls::MenuItem About1{"About1", "About"};
    controls::MenuItem Setup1{"Setup1", "Setup"};
    controls::MenuItem Options2{"Options2", "Options"};
    controls::MenuItem P1{"P1", "Port"};
    controls::MenuItem P2{"P2", "Prioritet"};
    controls::MenuItem Buffer1{"Buffer1", "Buffer"};
    controls::MenuItem AudioDevice1{"AudioDevice1", "Audio device"};
    controls::MenuItem Log2{"Log2", "Log Off"};
    controls::MenuItem Calibrate1{"Calibrate1", "Calibrate"};
    controls::MenuItem Log1{"Log1", "  Log  "};
    controls::MenuItem ID1{"ID1", "   ID   "};
    controls::MenuItem QRSSDFCW2{"QRSSDFCW2", "QRSS/DFCW"};
    controls::MenuItem Wspr1{"Wspr1", "WSPR"};

    // VFO A: coarse and fine frequency, tuning bar, memories.
    controls::GroupBox GroupBox2{"GroupBox2", "VFO A"};
    controls::SpinField seRfreq{"seRfreq", limits::vfoACoarseHz.min, limits::vfoACoarseHz.max, 1,
                                limits::vfoACoarseHz.design};
    controls::Label LbHz{"LbHz", "HZ"};
    controls::SpinField fineRfr{"fineRfr", -100, 100, 5, 0};
    controls::Label LbFine{"LbFine", "x 0.01Hz"};
    controls::SpinField seRLev{"seRLev", limits::levelField.min, limits::levelField.max, 200,
                               limits::levelField.design};
    controls::ScrollBar RFreqScrollBar1{"RFreqScrollBar1",           100000, 550000,
                                        limits::vfoACoarseHz.design, 100,    1000};
    controls::Panel PnAcol{"PnAcol"};
    controls::Button BtF1{"BtF1", "0"};
    controls::Button BtF2{"BtF2", "0"};
    controls::Button BtF3{"BtF3", "0"};
    controls::Button BtF4{"BtF4", "0"};
    controls::Button BtF1w{"BtF1w", "F1"};
    controls::Button BtF2w{"BtF2w", "F2"};
    controls::Button BtF3w{"BtF3w", "F3"};
    controls::Button BtF4w{"BtF4w", "F4"};
    controls::Button BtKnF{"BtKnF", "Fn"};
    controls::Panel Panel1{"Panel1", "Panel1"};
    controls::Label LbFoutLeft{"LbFoutLeft", "F Out ( Left Chanel )"};

    // VFO B: receive frequency and its step.
    controls::GroupBox GroupBox1{"GroupBox1", "VFO B"};
    controls::SpinField seLfreq{"seLfreq", limits::vfoBHz.min, limits::vfoBHz.max, 10, limits::vfoBHz.design};
    controls::Label LbFRx{"LbFRx", "F RX, Hz"};
    controls::Label LbSteps{"LbSteps", "1   10  100   1k"};
    controls::RadioSet stepSet;
    controls::RadioButton RBt1{"RBt1", "", stepSet};
    controls::RadioButton RBt10{"RBt10", "", stepSet};
    controls::RadioButton RBt100{"RBt100", "", stepSet};
    controls::RadioButton RBt1k{"RBt1k", "", stepSet};
    controls::Panel PnBcol{"PnBcol"};

    // Start and Stop of the audio stream.
    controls::Panel PnBt{"PnBt"};
    controls::Button btnPlay{"btnPlay", "Start"};
    controls::Button btnStop{"btnStop", "Stop"};

    // Options panel (right area).
    controls::Panel PnCh{"PnCh"};
    controls::Panel PnOption{"PnOption", "VFO A"};
    controls::Label LbFpA{"LbFpA"}; // "Fпч + -", set in the constructor
    controls::TextField EdFpA{"EdFpA", "0"};
    controls::Label LbKdel{"LbKdel", "multiplier:"};
    controls::TextField EdKdel{"EdKdel", "16"};
    controls::RadioGroup rgR{"rgR", "", {"Off", "Sine", "Squre"}, 0};
    controls::Label LbFoutL{"LbFoutL", "Fout  L"};
    controls::Label Label9{"Label9"};
    controls::Label LbHzL{"LbHzL", "Hz "};
    controls::Label LbLevR{"LbLevR", "Voume"};
    controls::ScrollBar LevRScrollBar1{
        "LevRScrollBar1", limits::levelBar.min, limits::levelBar.max, limits::levelBar.design, 500, 2000};
    controls::Label LbMinF{"LbMinF", "min Freq"};
    controls::Label LbMaxF{"LbMaxF", "max Freq"};
    controls::TextField EdminF{"EdminF", "137600"};
    controls::TextField EdmaxF{"EdmaxF", "137800"};
    controls::Button Button2{"Button2", "Ok"};
    controls::GroupBox GroupBox4{"GroupBox4", "VFO B"};
    controls::Label LbFp{"LbFp"}; // "Fпч + -", set in the constructor
    controls::TextField EdFp{"EdFp", "500000"};
    controls::Label LbRxKdel{"LbRxKdel", "multiplier:"};
    controls::TextField EdRxKdel{"EdRxKdel", "32"};
    controls::RadioGroup rgL{"rgL", "", {"Off", "Sine", "Squre"}, 0};
    controls::Label LbFoutR{"LbFoutR", "Fout  R"};
    controls::Label LbFoutrx{"LbFoutrx"};
    controls::Label LbHzR{"LbHzR", "Hz "};
    controls::Label LbLevL{"LbLevL", "Voume"};
    controls::SpinField seLLev{"seLLev", limits::levelField.min, limits::levelField.max, 200,
                               limits::levelField.design};
    controls::ScrollBar LevLScrollBar1{
        "LevLScrollBar1", limits::levelBar.min, limits::levelBar.max, limits::levelBar.design, 500, 2000};
    controls::CheckBox ChBA{"ChBA", "VFO A"};
    controls::CheckBox ChBB{"ChBB", "VFO B"};
    controls::Label LbCorr{"LbCorr", "Correct Freq"};
    controls::TextField Edit2{"Edit2", "1,00000000"};
    controls::Button Button1{"Button1", "X"};

    // Beacon keyer panel (right area, instead of the options panel).
    controls::Panel Panel3{"Panel3"};
    controls::Button Button5{"Button5", "CW"};
    controls::Label Lbmode{"Lbmode", "  CW"};
    controls::Label Lbo{"Lbo", "-------"};
    controls::Label Label32{"Label32", "clk"};
    controls::Label Label33{"Label33", "clk"};
    controls::Label LbQRSS{"LbQRSS", "QRSS"};
    controls::Button BtQRSS1{"BtQRSS1", "1"};
    controls::Button Button6{"Button6", "3"};
    controls::Button Btqrss10{"Btqrss10", "10"};
    controls::Button Btqrss20{"Btqrss20", "20"};
    controls::Button Btqrss30{"Btqrss30", "30"};
    controls::Button Btqrss60{"Btqrss60", "60"};
    controls::Button Btqrss90{"Btqrss90", "90"};
    controls::Button Btqrss120{"Btqrss120", "120"};
    controls::Label LbDFCW{"LbDFCW", "DFCW"};
    controls::Button BtDFCW3{"BtDFCW3", "3"};
    controls::Button BtDFCW10{"BtDFCW10", "10"};
    controls::Button Btdfcw20{"Btdfcw20", "20"};
    controls::Button Btdfcw30{"Btdfcw30", "30"};
    controls::Button btDFCW60{"btDFCW60", "60"};
    controls::Button BtDFCW90{"BtDFCW90", "90"};
    controls::Button Btdfcw120{"Btdfcw120", "120"};
    controls::Button Btdfcw240{"Btdfcw240", "240"};
    controls::Button Btdfcw60i{"Btdfcw60i", "60+"};
    controls::Button BtStopTX{"BtStopTX", "Stop TX"};
    controls::CheckBox ChLoop{"ChLoop", ""};
    controls::Label LbLoop{"LbLoop", "Loop"};
    controls::Button BtTX{"BtTX", "Start TX"};
    controls::TextField EdTX1{"EdTX1"};
    controls::Panel PnTX1{"PnTX1", "TX"};
    controls::TextField EdTX2{"EdTX2"};
    controls::Panel PnTX2{"PnTX2", "TX"};
    controls::TextField EdTX3{"EdTX3"};
    controls::Panel PnTX3{"PnTX3", "TX"};
    controls::TextField EdTX4{"EdTX4"};
    controls::Panel PnTX4{"PnTX4", "TX"};
    controls::TextField EdTtx{"EdTtx"};
    controls::Label LbTTX{"LbTTX"};
    controls::Label LbTxEnd{"LbTxEnd"};
    controls::Label LbTime{"LbTime", "Time"};
    controls::Label LbTimeNow{"LbTimeNow"};
    controls::Label LbTextNow{"LbTextNow"};
    // Custom keying values (pop-up inside the beacon panel).
    controls::Panel PnBtdfcw{"PnBtdfcw"};
    controls::Label LbDot{"LbDot", "Dot, c"};
    controls::SpinField SpDot{"SpDot", 1, 3600, 1, 5};
    controls::Label LbDash{"LbDash", "Dash=Dot x N"};
    controls::SpinField SpDash{"SpDash", 1, 3, 1, 1};
    controls::Label LbLp{"LbLp"}; // "Dot/N  -  Пауза ", set in the constructor
    controls::SpinField SpLp{"SpLp", 1, 10, 1, 2};
    controls::Label LbBigp{"LbBigp"}; // "Dot x N -  Пауза", set in the constructor
    controls::SpinField SpBigp{"SpBigp", 1, 3, 1, 3};
    controls::Label LbShift{"LbShift", "Shift, N/100, Hz"};
    controls::SpinField SpShift{"SpShift", 0, 200000, 10, 20};
    controls::Button Button9{"Button9", "Ok"};
    // FSKCW at a QRSS speed, in the pop-up's free bottom-left corner.
    controls::SpinField SpFskcw{"SpFskcw", 1, 3600, 1, 10};
    controls::Button BtFskcw{"BtFskcw", "FSKCW"};

    // Port panel (pop-up).
    controls::Panel PnPort{"PnPort"};
    controls::Label LbSelectPort{"LbSelectPort", "Select Port"};
    controls::RadioGroup RgCom{"RgCom", "", {"Com1", "Com2"}, 1};
    // The device names behind "Com1" and "Com2", typed or picked from the ports present.
    controls::ComboField EdPort1{"EdPort1", "/dev/ttyS0"};
    controls::ComboField EdPort2{"EdPort2", "/dev/ttyS1"};
    controls::RadioGroup RgRTS{"RgRTS", "", {"RTS", "DTR"}, 0};
    controls::Button Button7{"Button7", "OK"};

    // Priority panel (pop-up); none of the three is chosen at design.
    controls::Panel PnPrioritet{"PnPrioritet"};
    controls::Label LbPrioritet{"LbPrioritet", "Set prioritet"};
    controls::RadioSet prioritySet;
    controls::RadioButton RBPr1{"RBPr1", "Real Time", prioritySet};
    controls::RadioButton RBPr2{"RBPr2", "High", prioritySet};
    controls::RadioButton RBPr3{"RBPr3", "Normal", prioritySet};
    controls::Button BtPrioritet{"BtPrioritet", "Ok"};

    // Buffer-size panel (pop-up).
    controls::Panel PnBuffer{"PnBuffer", "Buffer Size"};
    controls::SpinField SpinEdit1{"SpinEdit1", audio::bufferSizeKiB.min, audio::bufferSizeKiB.max, 16,
                                  audio::bufferSizeKiB.design};
    controls::Button Button8{"Button8", "OK"};

    // Audio-device panel (pop-up): the ALSA PCM the stream opens, typed or picked from those present.
    controls::Panel PnAudio{"PnAudio", "Audio device"};
    controls::ComboField EdAudio{"EdAudio", "default"};
    controls::Button BtAudio{"BtAudio", "OK"};

    // Station identification panel (pop-up).
    controls::Panel Pnid{"Pnid"};
    controls::Panel PnidStart{"PnidStart"};
    controls::CheckBox ChStart{"ChStart", "ID Start"};
    controls::TextField Ed_id_Start{"Ed_id_Start"};
    controls::RadioSet idStartSet;
    controls::RadioButton RBtCWs{"RBtCWs", "CW", idStartSet, true};
    controls::RadioButton RBtQrss3s{"RBtQrss3s", "QRSS3", idStartSet};
    controls::Panel PnidEnd{"PnidEnd"};
    controls::CheckBox ChStop{"ChStop", "ID End"};
    controls::TextField Ed_id_End{"Ed_id_End"};
    controls::RadioSet idEndSet;
    controls::RadioButton RBtCW{"RBtCW", " CW", idEndSet, true};
    controls::RadioButton RBtQrss3{"RBtQrss3", " QRSS3", idEndSet};
    controls::Button BtPNid{"BtPNid", "Ok"};

    // About box (pop-up); its lines are set in the constructor.
    controls::GroupBox GrBoxAbout{"GrBoxAbout"};
    controls::Label LbAbout1{"LbAbout1"};
    controls::Label LbAbout2{"LbAbout2"};
    controls::Label LbAbout3{"LbAbout3"};
    controls::Label LbAboutDate{"LbAboutDate", "21.03.2010"};
    controls::Label LbAboutUnderruns{"LbAboutUnderruns", "Underruns: 0"}; // the latest stream's, kept current
    controls::Button BitBtn1{"BitBtn1", "OK"};

    // Diagnostic panel below the visible client area: the keyer's working fields and manual actions.
    controls::Panel Panel2{"Panel2"};
    controls::Button dot{"dot", "Dot"};
    controls::Button dash{"dash", "dash"};
    controls::Button lPause{"lPause", "L Pause"};
    controls::Button bigPause{"bigPause", "bigPause"};
    controls::Button btStP{"btStP", "StartP"};
    controls::Button BtPause{"BtPause", "BtPause"};
    controls::Button Button3{"Button3", "txtx"};
    controls::Button Button4{"Button4", "kk:=1"};
    controls::Button cw{"cw", "cw"};
    controls::Button OpenPort{"OpenPort", "Open Com Port"};
    controls::Button BtText{"BtText", "BtText"};
    controls::Memo Memo1{"Memo1"};
    controls::TextField Ed2{"Ed2"};
    controls::TextField Ed3{"Ed3"};
    controls::TextField EdbufTtx{"EdbufTtx"};
    controls::TextField Edit4{"Edit4"};
    controls::Label Label34{"Label34", "Label34"};

    // On the window itself: the message being compiled (outside the visible area) and the zero-width box
    // that takes the keyboard focus.
    controls::TextField EdTX{"EdTX"};
    controls::TextField Edit1{"Edit1", "Ed1"};
};

} // namespace tarvel::ui::forms
