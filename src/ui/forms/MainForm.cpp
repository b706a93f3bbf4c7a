#include "ui/forms/MainForm.h"

#include "platform/Cp1251.h"

#include <array>
#include <string>

namespace tarvel::ui::forms {

namespace {

using controls::rgb;
constexpr controls::Color kLightGrey = rgb(204, 204, 204);
constexpr controls::Color kRed = rgb(255, 0, 0);

// Captions are Windows-1251; the Cyrillic ones are written here in UTF-8 for legibility.
std::string cp(const char* utf8) {
    return platform::utf8ToCp1251(utf8);
}

} // namespace

MainForm::MainForm() {
    addWindow(TForm1, kDesignWidth + kFrameWidth, kDesignHeight + kFrameHeight);
    TForm1.setFrame(kFrameWidth, kFrameHeight);
    styles[TForm1].fixedSize = true;

    addMenu(Menu1, TForm1);
    addMenu(Help1, Menu1);
    addMenu(About1, Menu1);
    addMenu(Setup1, TForm1);
    addMenu(Options2, Setup1);
    addMenu(P1, Setup1);
    addMenu(P2, Setup1);
    addMenu(Buffer1, Setup1);
    addMenu(AudioDevice1, Setup1);
    addMenu(Log2, Setup1);
    addMenu(Calibrate1, Setup1);
    addMenu(Log1, TForm1);
    addMenu(ID1, TForm1);
    addMenu(QRSSDFCW2, TForm1);
    addMenu(Wspr1, TForm1);

    // VFO A group.
    add(GroupBox2, TForm1, 10, 16, 305, 193);
    add(seRfreq, GroupBox2, 10, 20, 140, 21);
    seRfreq.setAccessibleName("VFO A frequency, Hz");
    add(LbHz, GroupBox2, 154, 24, 20, 13);
    add(fineRfr, GroupBox2, 182, 20, 56, 21);
    fineRfr.setAccessibleName("VFO A fine offset, 0.01 Hz");
    add(LbFine, GroupBox2, 242, 24, 56, 13);
    // The level mirror sits beyond the group's right edge, where nobody sees it.
    add(seRLev, GroupBox2, 320, 20, 70, 21);
    seRLev.setAccessibleName("VFO A level mirror");
    add(RFreqScrollBar1, GroupBox2, 10, 50, 262, 17);
    RFreqScrollBar1.setAccessibleName("VFO A tuning");
    add(PnAcol, GroupBox2, 282, 52, 13, 13);
    PnAcol.setColor(kLightGrey);
    PnAcol.setAccessibleName("VFO A waveform indicator");
    const std::array<controls::Button*, 4> recall{&BtF1, &BtF2, &BtF3, &BtF4};
    const std::array<controls::Button*, 4> store{&BtF1w, &BtF2w, &BtF3w, &BtF4w};
    for (int i = 0; i < 4; ++i) {
        add(*recall[i], GroupBox2, 10 + 72 * i, 76, 66, 25);
        recall[i]->setAccessibleName("Recall memory " + std::to_string(i + 1));
    }
    for (int i = 0; i < 4; ++i) {
        add(*store[i], GroupBox2, 10 + 72 * i, 106, 66, 25);
        store[i]->setAccessibleName("Store memory " + std::to_string(i + 1));
    }
    BtF1w.setHint(":=fr1");
    add(BtKnF, GroupBox2, 10, 136, 66, 25);
    BtKnF.setAccessibleName("Show the keypad memories");
    add(Panel1, GroupBox2, 82, 136, 210, 40);
    Panel1.hide();
    add(LbFoutLeft, Panel1, 8, 14, 150, 13);

    // VFO B group.
    add(GroupBox1, TForm1, 10, 216, 305, 57);
    add(seLfreq, GroupBox1, 10, 22, 100, 21);
    seLfreq.setAccessibleName("VFO B frequency, Hz");
    add(LbFRx, GroupBox1, 114, 26, 60, 13);
    add(LbSteps, GroupBox1, 178, 12, 100, 13);
    // Each step button sits under its number in LbSteps. None is checked at design: the start-up's
    // check of RBt1k must run its click to set the 1 kHz step.
    const std::array<controls::RadioButton*, 4> steps{&RBt1, &RBt10, &RBt100, &RBt1k};
    const std::array<const char*, 4> stepNames{"VFO B step 1 Hz", "VFO B step 10 Hz", "VFO B step 100 Hz",
                                               "VFO B step 1 kHz"};
    const std::array<int, 4> stepLeft{178, 202, 232, 262};
    for (int i = 0; i < 4; ++i) {
        add(*steps[i], GroupBox1, stepLeft[i], 30, 16, 16);
        steps[i]->setAccessibleName(stepNames[i]);
    }
    add(PnBcol, GroupBox1, 286, 32, 13, 13);
    PnBcol.setColor(kLightGrey);
    PnBcol.setAccessibleName("VFO B waveform indicator");

    // Start / Stop.
    add(PnBt, TForm1, 10, 280, 305, 41);
    PnBt.setAccessibleName("Audio stream");
    add(btnPlay, PnBt, 10, 8, 90, 25);
    add(btnStop, PnBt, 106, 8, 90, 25);
    btnStop.setEnabled(false);

    // Options panel.
    add(PnCh, TForm1, 328, 22, 249, 300);
    PnCh.setAccessibleName("Options");
    add(PnOption, PnCh, 4, 4, 241, 146);
    PnOption.setHint("Left channel ");
    LbFpA.setCaption(cp("Fпч + -"));
    add(LbFpA, PnOption, 4, 8, 44, 13);
    add(EdFpA, PnOption, 50, 4, 60, 21);
    EdFpA.setAccessibleName("VFO A offset, Hz");
    add(LbKdel, PnOption, 114, 8, 64, 13);
    add(EdKdel, PnOption, 180, 4, 56, 21);
    EdKdel.setAccessibleName("VFO A multiplier");
    add(rgR, PnOption, 4, 30, 100, 70);
    rgR.setAccessibleName("VFO A waveform");
    add(LbFoutL, PnOption, 110, 34, 38, 13);
    add(Label9, PnOption, 150, 34, 64, 13);
    Label9.setColor(kLightGrey);
    Label9.setAccessibleName("VFO A output tone, Hz");
    add(LbHzL, PnOption, 216, 34, 20, 13);
    add(LbLevR, PnOption, 110, 56, 40, 13);
    add(LevRScrollBar1, PnOption, 110, 72, 126, 17);
    LevRScrollBar1.setAccessibleName("VFO A level");
    add(LbMinF, PnOption, 4, 104, 60, 13);
    add(LbMaxF, PnOption, 76, 104, 60, 13);
    add(EdminF, PnOption, 4, 118, 66, 21);
    EdminF.setAccessibleName("VFO A tuning range minimum, Hz");
    add(EdmaxF, PnOption, 76, 118, 66, 21);
    EdmaxF.setAccessibleName("VFO A tuning range maximum, Hz");
    add(Button2, PnOption, 150, 116, 50, 25);

    add(GroupBox4, PnCh, 4, 154, 241, 106);
    GroupBox4.setHint("Right channel");
    GroupBox4.hide();
    LbFp.setCaption(cp("Fпч + -"));
    add(LbFp, GroupBox4, 6, 20, 44, 13);
    add(EdFp, GroupBox4, 50, 16, 60, 21);
    EdFp.setAccessibleName("VFO B offset, Hz");
    add(LbRxKdel, GroupBox4, 114, 20, 64, 13);
    add(EdRxKdel, GroupBox4, 180, 16, 56, 21);
    EdRxKdel.setAccessibleName("VFO B multiplier");
    add(rgL, GroupBox4, 6, 40, 100, 62);
    rgL.setAccessibleName("VFO B waveform");
    add(LbFoutR, GroupBox4, 110, 44, 38, 13);
    add(LbFoutrx, GroupBox4, 150, 44, 64, 13);
    LbFoutrx.setColor(kLightGrey);
    LbFoutrx.setAccessibleName("VFO B output tone, Hz");
    add(LbHzR, GroupBox4, 216, 44, 20, 13);
    add(LbLevL, GroupBox4, 110, 64, 40, 13);
    add(seLLev, GroupBox4, 160, 60, 76, 21);
    seLLev.setAccessibleName("VFO B level mirror");
    seLLev.hide();
    add(LevLScrollBar1, GroupBox4, 110, 84, 126, 17);
    LevLScrollBar1.setAccessibleName("VFO B level");

    add(ChBA, PnCh, 4, 264, 64, 17);
    add(ChBB, PnCh, 4, 282, 64, 17);
    add(LbCorr, PnCh, 76, 264, 80, 13);
    add(Edit2, PnCh, 76, 278, 96, 21);
    Edit2.setAccessibleName("Sound card clock correction factor");
    add(Button1, PnCh, 214, 272, 30, 25);
    Button1.setAccessibleName("Close the options");

    // Beacon keyer panel, in the same place as the options panel.
    add(Panel3, TForm1, 328, 22, 249, 300);
    Panel3.hide();
    Panel3.setAccessibleName("Beacon keyer");
    add(Button5, Panel3, 4, 4, 44, 25);
    add(Lbmode, Panel3, 54, 10, 64, 13);
    styles[Lbmode].bold = true;
    add(Lbo, Panel3, 122, 10, 60, 13);
    Lbo.setAccessibleName("Element being sent");
    // The manual PTT switch: the grey label turns PTT on and gives way to the red one, which turns it off.
    add(Label32, Panel3, 196, 10, 22, 13);
    Label32.setColor(kLightGrey);
    Label32.setAccessibleName("PTT on");
    add(Label33, Panel3, 196, 10, 22, 13);
    Label33.setColor(kRed);
    Label33.setAccessibleName("PTT off");
    Label33.hide();
    add(LbQRSS, Panel3, 4, 34, 40, 13);
    const std::array<controls::Button*, 8> qrss{&BtQRSS1,  &Button6,  &Btqrss10, &Btqrss20,
                                                &Btqrss30, &Btqrss60, &Btqrss90, &Btqrss120};
    const std::array<controls::Button*, 8> dfcw{&BtDFCW3,  &BtDFCW10, &Btdfcw20,  &Btdfcw30,
                                                &btDFCW60, &BtDFCW90, &Btdfcw120, &Btdfcw240};
    for (int i = 0; i < 8; ++i) {
        add(*qrss[i], Panel3, 4 + 30 * i, 48, 29, 25);
        qrss[i]->setAccessibleName("QRSS " + qrss[i]->caption() + " s");
    }
    add(LbDFCW, Panel3, 4, 78, 40, 13);
    for (int i = 0; i < 8; ++i) {
        add(*dfcw[i], Panel3, 4 + 30 * i, 92, 29, 25);
        dfcw[i]->setAccessibleName("DFCW " + dfcw[i]->caption() + " s");
    }
    add(Btdfcw60i, Panel3, 4, 122, 50, 25);
    Btdfcw60i.setAccessibleName("Custom keying mode");
    add(BtStopTX, Panel3, 60, 122, 60, 25);
    add(ChLoop, Panel3, 130, 126, 16, 17);
    ChLoop.setAccessibleName("Repeat the message");
    add(LbLoop, Panel3, 148, 128, 30, 13);
    add(BtTX, Panel3, 184, 122, 60, 25);
    BtTX.hide();
    const std::array<controls::TextField*, 4> messages{&EdTX1, &EdTX2, &EdTX3, &EdTX4};
    const std::array<controls::Panel*, 4> senders{&PnTX1, &PnTX2, &PnTX3, &PnTX4};
    for (int i = 0; i < 4; ++i) {
        add(*messages[i], Panel3, 4, 152 + 24 * i, 200, 21);
        messages[i]->setUpperCase(true);
        messages[i]->setAccessibleName("Message " + std::to_string(i + 1));
        add(*senders[i], Panel3, 208, 152 + 24 * i, 36, 21);
        senders[i]->setAccessibleName("Send message " + std::to_string(i + 1));
    }
    add(EdTtx, Panel3, 4, 250, 70, 17);
    styles[EdTtx].borderless = true;
    EdTtx.setAccessibleName("Transmission start time");
    add(LbTTX, Panel3, 80, 252, 76, 13);
    LbTTX.setAccessibleName("Estimated transmission duration");
    add(LbTxEnd, Panel3, 162, 252, 80, 13);
    LbTxEnd.setAccessibleName("Estimated end time");
    add(LbTime, Panel3, 4, 276, 30, 13);
    add(LbTimeNow, Panel3, 38, 276, 60, 13);
    LbTimeNow.setAccessibleName("Clock");
    add(LbTextNow, Panel3, 104, 276, 140, 13);
    LbTextNow.setAccessibleName("Text sent so far");

    add(PnBtdfcw, Panel3, 4, 122, 241, 172);
    PnBtdfcw.hide();
    styles[PnBtdfcw].popUp = true;
    PnBtdfcw.setAccessibleName("Custom keying values");
    LbLp.setCaption(cp("Dot/N  -  Пауза "));
    LbBigp.setCaption(cp("Dot x N -  Пауза"));
    const std::array<controls::Label*, 5> customLabels{&LbDot, &LbDash, &LbLp, &LbBigp, &LbShift};
    const std::array<controls::SpinField*, 5> customFields{&SpDot, &SpDash, &SpLp, &SpBigp, &SpShift};
    const std::array<const char*, 5> customNames{"Custom dot length, s", "Custom dash length, dots",
                                                 "Custom element gap divisor", "Custom letter gap, dots",
                                                 "Custom DFCW shift, 0.01 Hz"};
    for (int i = 0; i < 5; ++i) {
        add(*customLabels[i], PnBtdfcw, 6, 10 + 26 * i, 140, 13);
        add(*customFields[i], PnBtdfcw, 150, 6 + 26 * i, 84, 21);
        customFields[i]->setAccessibleName(customNames[i]);
    }
    add(Button9, PnBtdfcw, 150, 140, 84, 25);
    add(SpFskcw, PnBtdfcw, 6, 142, 56, 21);
    SpFskcw.setAccessibleName("FSKCW dot length, s");
    add(BtFskcw, PnBtdfcw, 66, 140, 78, 25);

    // The pop-up panels open over the top left of the window, which every layout shows.
    add(PnPort, TForm1, 10, 16, 244, 152);
    PnPort.hide();
    styles[PnPort].popUp = true;
    PnPort.setAccessibleName("Port settings");
    add(LbSelectPort, PnPort, 8, 6, 80, 13);
    add(RgCom, PnPort, 8, 22, 96, 62);
    RgCom.setAccessibleName("Serial port");
    add(EdPort1, PnPort, 110, 32, 126, 21);
    EdPort1.setAccessibleName("Device for Com1");
    add(EdPort2, PnPort, 110, 55, 126, 21);
    EdPort2.setAccessibleName("Device for Com2");
    add(RgRTS, PnPort, 8, 88, 96, 56);
    RgRTS.setAccessibleName("Key line");
    add(Button7, PnPort, 160, 118, 76, 25);

    add(PnPrioritet, TForm1, 10, 16, 200, 120);
    PnPrioritet.hide();
    styles[PnPrioritet].popUp = true;
    PnPrioritet.setAccessibleName("Process priority");
    add(LbPrioritet, PnPrioritet, 8, 6, 100, 13);
    add(RBPr1, PnPrioritet, 8, 24, 120, 17);
    add(RBPr2, PnPrioritet, 8, 44, 120, 17);
    add(RBPr3, PnPrioritet, 8, 64, 120, 17);
    add(BtPrioritet, PnPrioritet, 8, 88, 70, 25);

    // The panel's own caption names it; the controls sit below where it is drawn.
    add(PnBuffer, TForm1, 10, 16, 200, 80);
    PnBuffer.hide();
    styles[PnBuffer].popUp = true;
    add(SpinEdit1, PnBuffer, 8, 48, 80, 21);
    SpinEdit1.setAccessibleName("Buffer size, units of 1024 bytes");
    styles[SpinEdit1].maxLength = 8;
    add(Button8, PnBuffer, 100, 46, 70, 25);

    add(PnAudio, TForm1, 10, 16, 300, 80);
    PnAudio.hide();
    styles[PnAudio].popUp = true;
    add(EdAudio, PnAudio, 8, 48, 206, 21);
    EdAudio.setAccessibleName("Audio device, ALSA PCM name");
    add(BtAudio, PnAudio, 222, 46, 70, 25);

    add(Pnid, TForm1, 10, 16, 292, 152);
    Pnid.hide();
    styles[Pnid].popUp = true;
    Pnid.setAccessibleName("Station identification");
    add(PnidStart, Pnid, 4, 4, 284, 56);
    PnidStart.setAccessibleName("Start identification");
    add(ChStart, PnidStart, 6, 6, 80, 17);
    add(Ed_id_Start, PnidStart, 92, 4, 186, 21);
    Ed_id_Start.setUpperCase(true);
    Ed_id_Start.setAccessibleName("Start identification text");
    add(RBtCWs, PnidStart, 92, 32, 60, 17);
    add(RBtQrss3s, PnidStart, 160, 32, 80, 17);
    add(PnidEnd, Pnid, 4, 64, 284, 56);
    PnidEnd.setAccessibleName("End identification");
    add(ChStop, PnidEnd, 6, 6, 80, 17);
    add(Ed_id_End, PnidEnd, 92, 4, 186, 21);
    Ed_id_End.setUpperCase(true);
    Ed_id_End.setAccessibleName("End identification text");
    add(RBtCW, PnidEnd, 92, 32, 60, 17);
    add(RBtQrss3, PnidEnd, 160, 32, 80, 17);
    add(BtPNid, Pnid, 4, 124, 70, 25);

    add(GrBoxAbout, TForm1, 10, 16, 220, 150);
    GrBoxAbout.hide();
    styles[GrBoxAbout].popUp = true;
    GrBoxAbout.setAccessibleName("About");
    LbAbout1.setCaption(cp("Программа синтеза "));
    LbAbout2.setCaption(cp("частот для генераторов"));
    LbAbout3.setCaption(cp("с ФАПЧ и qrss/dfcw"));
    add(LbAbout1, GrBoxAbout, 12, 20, 196, 13);
    add(LbAbout2, GrBoxAbout, 12, 36, 196, 13);
    add(LbAbout3, GrBoxAbout, 12, 52, 196, 13);
    add(LbAboutDate, GrBoxAbout, 12, 76, 196, 13);
    add(LbAboutUnderruns, GrBoxAbout, 12, 92, 196, 13);
    add(BitBtn1, GrBoxAbout, 72, 110, 75, 25);

    // Diagnostic panel, below the client area.
    add(Panel2, TForm1, 0, kDesignHeight + 13, kDesignWidth, 200);
    Panel2.setAccessibleName("Diagnostics");
    const std::array<controls::Button*, 7> actions{&dot,   &dash,    &lPause, &bigPause,
                                                   &btStP, &BtPause, &Button3};
    for (int i = 0; i < 7; ++i)
        add(*actions[i], Panel2, 4 + 80 * i, 4, 76, 25);
    add(Button4, Panel2, 4, 32, 76, 25);
    add(cw, Panel2, 84, 32, 76, 25);
    add(OpenPort, Panel2, 164, 32, 100, 25);
    add(BtText, Panel2, 270, 32, 76, 25);
    add(Memo1, Panel2, 4, 62, 250, 132);
    Memo1.setAccessibleName("Keyer trace");
    add(Ed2, Panel2, 260, 62, 150, 21);
    Ed2.setAccessibleName("Code string of the character being compiled");
    add(Ed3, Panel2, 260, 86, 318, 21);
    Ed3.setAccessibleName("Element sequence");
    add(EdbufTtx, Panel2, 260, 110, 150, 21);
    EdbufTtx.setAccessibleName("Clipboard buffer");
    add(Edit4, Panel2, 260, 134, 150, 21);
    Edit4.setAccessibleName("DFCW shift, 0.01 Hz");
    add(Label34, Panel2, 416, 138, 60, 13);

    add(EdTX, TForm1, 0, kDesignHeight + 233, 300, 21);
    EdTX.setAccessibleName("Message being sent");
    add(Edit1, TForm1, 0, 0, 0, 21);
    Edit1.setAccessibleName("Keyboard focus holder");
}

} // namespace tarvel::ui::forms
