#include "ui/TForm1.h"

#include "platform/Locale.h"

#include <fstream>

namespace tarvel::ui {
namespace {

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TForm1::TForm1(Devices d)
    : devices(std::move(d)), ini(devices.settingsPath),
      stream(vfoA, vfoB, [this] { return devices.makeAudioDevice(ini.readText("AudioDevice", "default")); }),
      streamControl({main.btnPlay, main.btnStop, main.PnBuffer, main.SpinEdit1, main.rgR, main.LevRScrollBar1,
                     main.rgL, main.seLLev},
                    stream, vfoA, vfoB, ini,
                    {[this] { return plan.lastCoarse; }, [this] { return plan.lastFine; },
                     [this] { return plan.vfoAWord(); }, [this] { return plan.vfoBWord(); }}),
      plan({main.seRfreq,        main.fineRfr, main.RFreqScrollBar1, main.EdFpA,  main.EdKdel,   main.rgR,
            main.LevRScrollBar1, main.seRLev,  main.Label9,          main.PnAcol, main.seLfreq,  main.RBt1,
            main.RBt10,          main.RBt100,  main.RBt1k,           main.EdFp,   main.EdRxKdel, main.rgL,
            main.LevLScrollBar1, main.seLLev,  main.LbFoutrx,        main.PnBcol, main.Edit2},
           vfoA, vfoB, ini),
      options({main.TForm1, main.GroupBox2, main.GroupBox1, main.PnBt, main.PnCh, main.PnOption,
               main.GroupBox4, main.Panel3, main.Panel1, main.ChBA, main.ChBB, main.EdminF, main.EdmaxF,
               main.RFreqScrollBar1},
              ini),
      memories({main.seRfreq,
                main.fineRfr,
                main.Edit1,
                {&main.BtF1, &main.BtF2, &main.BtF3, &main.BtF4},
                {&main.BtF1w, &main.BtF2w, &main.BtF3w, &main.BtF4w},
                keypad.TForm3,
                keypad.buttons},
               plan, ini),
      activityLog(devices.logPath, devices.clock),
      logControl({main.Log2, logWindow.TForm2, logWindow.Memo1}, activityLog, ini),
      Timer1(devices.makeTimer()), Timer2(devices.makeTimer()), Timer3(devices.makeTimer()) {
    // Every window stays hidden until the start-up sequence or the operator shows it.
    for (controls::Form* window : {&main.TForm1, &logWindow.TForm2, &keypad.TForm3, &help.TForm4})
        window->hide();
    connectShell();
    for (auto* timer : {Timer1.get(), Timer2.get(), Timer3.get()}) {
        timer->setInterval(1000);
        timer->setEnabled(true);
    }
    Timer3->onTimeout = [] {};
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::connectShell() {
    main.Help1.onClick = [this] { Help1Click(); };
    main.About1.onClick = [this] { BtopenAboutClick(); };
    main.BitBtn1.onClick = [this] { BitBtn1Click(); };
    main.P2.onClick = [this] { P2Click(); };
    main.BtPrioritet.onClick = [this] { BtPrioritetClick(); };
    main.RBPr1.onClick = [this] { iPr = 1; };
    main.RBPr2.onClick = [this] { iPr = 2; };
    main.RBPr3.onClick = [this] { iPr = 3; };
    main.Options2.onClick = [this] { options.Options2Click(); };
    main.Button1.onClick = [this] { options.Button1Click(); };
    main.Button2.onClick = [this] { options.Button2Click(); };
    main.Buffer1.onClick = [this] { streamControl.Buffer1Click(); };
    main.Button8.onClick = [this] { streamControl.Button8Click(); };
    main.Log1.onClick = [this] { logControl.Log1Click(); };
    main.BtKnF.onClick = [this] { memories.BtKnFClick(); };
    logWindow.Save1.onClick = [this] { logControl.Save1Click(); };
    logWindow.TForm2.onResize = [this] { logWindow.resized(); };
    help.TForm4.onResize = [this] { help.resized(); };
    keypad.TForm3.onResize = [this] { keypad.resized(); };
}

void TForm1::FormCreate() {
    // 1. Values that are not settings.
    plan.corr = 1.0;
    plan.N = 16;
    plan.Nrx = 32;
    plan.df = 0;
    stream.setBufferBytes(main.SpinEdit1.value() * 1024);
    iPr = 3;
    Timer2->setEnabled(true);
    main.RgRTS.setItemIndex(0);

    // 2. The log file exists from here on; a working directory that refuses it does not stop start-up.
    activityLog.ensureFile();

    // 3. Every key in the order of the table, stored values into their controls.
    const double corr = ini.readReal("corr", 1.0);
    const std::int32_t N = ini.readInteger("N", 16);
    const std::int32_t Nrx = ini.readInteger("Nrx", 32);
    const std::int32_t Fp = ini.readInteger("Fp", 0);
    const std::int32_t FpA = ini.readInteger("FpA", 0);
    const std::int32_t frrx = ini.readInteger("frrx", 0);
    const std::int32_t freq = ini.readInteger("freq", 0);
    guarded([&] { main.seRfreq.setValue(freq); });
    const std::int32_t fine = ini.readInteger("01x", main.fineRfr.value());
    guarded([&] { main.fineRfr.setValue(fine); });
    for (int k = 1; k <= freqplan::Memories::kCount; ++k)
        memories.loadCoarse(k, ini.readInteger("freq" + std::to_string(k), 0));
    const std::int32_t maxF = ini.readInteger("MaxF", 0);
    const std::int32_t minF = ini.readInteger("MinF", 0);
    const std::int32_t VB = ini.readInteger("VB", 0);
    const std::int32_t VA = ini.readInteger("VA", 0);
    const std::int32_t TA = ini.readInteger("TA", 0);
    const std::int32_t TB = ini.readInteger("TB", 0);
    guarded([&] { main.SpinEdit1.setValue(ini.readInteger("Buffer", main.SpinEdit1.value())); });
    logControl.log = ini.readInteger("log", 0);
    iPr = ini.readInteger("iPr", 3);

    // 4. Priority choice.
    if (iPr == 1)
        main.RBPr1.setChecked(true);
    else if (iPr == 2)
        main.RBPr2.setChecked(true);
    else if (iPr == 3)
        main.RBPr3.setChecked(true);
    // 5. Apply the priority, which also stores it.
    guarded([&] { BtPrioritetClick(); });
    // 6. Logging state; the header line before the window shows.
    logControl.showState();
    guarded([&] { logControl.startupHeader(); });
    // 9. Waveforms.
    guarded([&] { main.rgR.setItemIndex(TA); });
    guarded([&] { main.rgL.setItemIndex(TB); });
    // 10. Tuning step 1 k.
    guarded([&] { main.RBt1k.setChecked(true); });
    // 11. Compact layout choices.
    guarded([&] { main.ChBA.setChecked(VA == 1); });
    guarded([&] { main.ChBB.setChecked(VB == 1); });
    // 12. The stored tuning range, both limits at once; then the stored frequency again, so that one
    // inside that range survives a restart.
    guarded([&] { options.applyStoredRange(minF, maxF); });
    guarded([&] { main.seRfreq.setValue(freq); });
    // 14. Correction, factors and offsets.
    guarded([&] { main.Edit2.setText(platform::formatGeneral(corr)); });
    guarded([&] { main.EdKdel.setText(std::to_string(N)); });
    guarded([&] { main.EdRxKdel.setText(std::to_string(Nrx)); });
    guarded([&] { main.EdFp.setText(std::to_string(Fp)); });
    guarded([&] { main.EdFpA.setText(std::to_string(FpA)); });
    // 15. VFO B.
    guarded([&] { main.seLfreq.setValue(frrx); });
    // Both retunes in any case, so the cached values and both words are right before the first Start or
    // memory store even where no control changed.
    guarded([&] { plan.seRfreqChange(); });
    guarded([&] { plan.seLfreqChange(); });
    // 16. The compact layout.
    guarded([&] { options.Button1Click(); });
    // 17. Shown by the window; the keyboard to Edit1.
    main.TForm1.show();
    main.Edit1.setFocus();
}

void TForm1::FormDestroy() {
    stream.stopAndWait();
}

void TForm1::Help1Click() {
    help.TForm4.show();
    {
        // Created empty when it cannot be opened.
        std::ifstream probe(devices.helpPath, std::ios::binary);
        if (!probe)
            std::ofstream(devices.helpPath, std::ios::binary | std::ios::app);
    }
    help.Memo1.setLines(readLines(devices.helpPath));
}

void TForm1::BtopenAboutClick() {
    main.GrBoxAbout.show();
}

void TForm1::BitBtn1Click() {
    main.GrBoxAbout.hide();
}

void TForm1::P2Click() {
    main.PnPrioritet.show();
}

void TForm1::BtPrioritetClick() {
    main.PnPrioritet.hide();
    devices.priority.apply(iPr);
    ini.writeInteger("iPr", iPr);
}

void TForm1::FormKeyDown(int key, bool alt) {
    options.FormKeyDown(key, alt);
}

void TForm1::FormShortCut(int functionKey) {
    guarded([&] { memories.FormShortCut(functionKey); });
}

} // namespace tarvel::ui
