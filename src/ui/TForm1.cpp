#include "ui/TForm1.h"

#include "platform/Locale.h"
#include "settings/Keys.h"

#include <QCoreApplication>
#include <array>

namespace tarvel::ui {
TForm1::TForm1(Devices d)
    : devices(std::move(d)), ini(devices.settingsPath),
      stream(
          vfoA, vfoB, [this] { return devices.makeAudioDevice(ini.read(settings::keys::audioDevice)); },
          [this](std::uint64_t worker) { postWorkerFailure(worker); }),
      tone(stream, vfoA, vfoB, ini,
           {[this] { return plan.tunedCoarseHz(); }, [this] { return plan.tunedFineCentiHz(); },
            [this] {
                return audio::ChannelValues{plan.vfoAWord(), plan.vfoAWaveform(), plan.vfoALevel()};
            },
            [this] {
                return audio::ChannelValues{plan.vfoBWord(), plan.vfoBWaveform(), plan.vfoBLevel()};
            }}),
      tonePanel({main.btnPlay, main.btnStop, main.Buffer1, main.PnBuffer, main.SpinEdit1, main.Button8},
                tone),
      plan(vfoA, vfoB, ini), vfoAPanel({main.seRfreq, main.fineRfr, main.RFreqScrollBar1, main.rgR,
                                        main.LevRScrollBar1, main.seRLev, main.Label9, main.PnAcol},
                                       plan),
      vfoBPanel({main.seLfreq, main.RBt1, main.RBt10, main.RBt100, main.RBt1k, main.rgL, main.LevLScrollBar1,
                 main.seLLev, main.LbFoutrx, main.PnBcol},
                plan),
      layout({main.TForm1, main.GroupBox2, main.GroupBox1, main.PnBt, main.PnCh, main.PnOption,
              main.GroupBox4, main.Panel3, main.ChBA, main.ChBB}),
      options(ini),
      optionsPanel({main.EdFpA, main.EdKdel, main.EdFp, main.EdRxKdel, main.Edit2, main.Panel1, main.ChBA,
                    main.ChBB, main.EdminF, main.EdmaxF, main.Button2, main.RFreqScrollBar1},
                   plan, options),
      memories(plan, ini), memoriesPanel({main.Edit1,
                                          {&main.BtF1, &main.BtF2, &main.BtF3, &main.BtF4},
                                          {&main.BtF1w, &main.BtF2w, &main.BtF3w, &main.BtF4w},
                                          main.BtKnF,
                                          keypad.TForm3,
                                          keypad.buttons},
                                         memories, plan, vfoAPanel),
      activityLog(devices.logPath, devices.clock), logbook(activityLog, ini),
      logPanel({main.Log2, main.Log1, logWindow.TForm2, logWindow.Memo1, logWindow.Save1}, logbook),
      helpPanel({main.Help1, help.TForm4, help.Memo1}, devices.helpPath),
      aboutPanel({main.About1, main.GrBoxAbout, main.BitBtn1}),
      priorityPanel({main.P2, main.PnPrioritet, main.RBPr1, main.RBPr2, main.RBPr3, main.BtPrioritet},
                    devices.priority, ini),
      Timer1(devices.makeTimer()), Timer2(devices.makeTimer()), Timer3(devices.makeTimer()),
      port(devices.lines, ini), messages(ini),
      transmission(*Timer1, port.transmitter(), plan, tone, logbook, messages, devices.clock, devices.sink),
      beaconClock(logbook, devices.clock, *Timer2, devices.sink), presets(transmission, ini),
      transmissionPanel(main, transmission), estimatePanel(main, transmission),
      messagesPanel(main, messages, beaconClock, transmission),
      diagnosticPanel(main, transmission, [this](const std::string& text) { devices.cutToClipboard(text); }),
      presetsPanel(main, presets, transmission), idPanel(main, transmission.identification(), ini),
      portPanel(main, port, transmission) {
    // Every window stays hidden until the start-up sequence or the operator shows it.
    for (controls::Form* window : {&main.TForm1, &logWindow.TForm2, &keypad.TForm3, &help.TForm4})
        window->hide();
    connectShell();
    for (auto* timer : {Timer1.get(), Timer2.get(), Timer3.get()}) {
        timer->setInterval(1000);
        timer->setEnabled(true);
    }
    Timer3->onTimeout = [] {};
    // A transmission without its reference tone must not go on keying the transmitter.
    tone.onToneLost = [this] {
        if (transmission.onAir())
            transmission.stopTransmission();
    };
}

void TForm1::postWorkerFailure(std::uint64_t worker) {
    // Queued on the event loop, which runs on the user-interface thread whichever thread posts.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, worker, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.lock())
                guarded([&] { tone.workerFailed(worker); });
        },
        Qt::QueuedConnection);
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::connectShell() {
    main.Options2.onClick = [this] { layout.showOptions(); };
    main.Button1.onClick = [this] { layout.showCompact(); };
    // The operator sees why the port is missing, but still gets the beacon panel.
    main.QRSSDFCW2.onClick = [this] {
        guarded([this] { portPanel.openPort(); });
        layout.showBeacon();
    };
    logWindow.TForm2.onResize = [this] { logWindow.resized(); };
    help.TForm4.onResize = [this] { help.resized(); };
    keypad.TForm3.onResize = [this] { keypad.resized(); };
}

void TForm1::FormCreate() {
    // 1. Values that are not settings.
    plan.restoreFactors({});
    plan.setDfcwShift(0);
    stream.setBufferBytes(main.SpinEdit1.value() * 1024);
    transmission.setKeying({});
    transmission.rewind();
    priorityPanel.choice = platform::ProcessPriority::Normal;
    Timer2->setEnabled(true);
    guarded([&] { main.RgRTS.setItemIndex(0); });

    // 2. The log file exists from here on; a working directory that refuses it does not stop start-up.
    activityLog.ensureFile();

    // 3. Every key in the order of the table; stored values into their controls.
    const double corr = ini.readReal("corr", 1.0);
    const std::int32_t N = ini.readInteger("N", 16);
    const std::int32_t Nrx = ini.readInteger("Nrx", 32);
    const std::int32_t Fp = ini.readInteger("Fp", 0);
    const std::int32_t FpA = ini.readInteger("FpA", 0);
    // Held as shared values at once: a field that already shows the stored text runs no handler later.
    plan.restoreFactors(
        {.correction = corr, .vfoAFactor = N, .vfoBFactor = Nrx, .vfoBOffset = Fp, .vfoAOffset = FpA});
    const std::int32_t frrx = ini.readInteger("frrx", 0);
    const std::int32_t freq = ini.readInteger("freq", 0);
    guarded([&] { main.seRfreq.setValue(freq); });
    const std::int32_t fine = ini.readInteger("01x", main.fineRfr.value());
    guarded([&] { main.fineRfr.setValue(fine); });
    for (int k = 1; k <= freqplan::Memories::kCount; ++k)
        memoriesPanel.loadCoarse(k, ini.readInteger("freq" + std::to_string(k), 0));
    const std::int32_t maxF = ini.readInteger("MaxF", 0);
    const std::int32_t minF = ini.readInteger("MinF", 0);
    const std::int32_t VB = ini.readInteger("VB", 0);
    const std::int32_t VA = ini.readInteger("VA", 0);
    port.iCom = ini.readInteger("iCom", 0);
    port.iRTS = ini.readInteger("iRTS", 0);
    const std::int32_t TA = ini.readInteger("TA", 0);
    const std::int32_t TB = ini.readInteger("TB", 0);
    std::array<std::string, 4> texts;
    for (int k = 0; k < 4; ++k)
        texts[k] = ini.readText("TXT" + std::to_string(k + 1), "");
    guarded([&] { main.SpinEdit1.setValue(ini.readInteger("Buffer", main.SpinEdit1.value())); });
    guarded([&] { main.SpDot.setValue(ini.readInteger("Dot", 0)); });
    guarded([&] { main.SpDash.setValue(ini.readInteger("Dash", 0)); });
    guarded([&] { main.SpLp.setValue(ini.readInteger("pause", 0)); });
    guarded([&] { main.SpBigp.setValue(ini.readInteger("Bpause", 0)); });
    guarded([&] { main.SpShift.setValue(ini.readInteger("shiftFr", 0)); });
    logbook.restore();
    transmission.identification().endSpeedSetting = ini.readInteger("id", 0);
    guarded([&] { main.Ed_id_Start.setText(ini.readText("IDStart", main.Ed_id_Start.text())); });
    guarded([&] { main.Ed_id_End.setText(ini.readText("IDEnd", main.Ed_id_End.text())); });
    transmission.identification().startSpeedSetting = ini.readInteger("ids", 0);
    priorityPanel.restore();
    portPanel.loadPortNames();
    // The custom keying values take what their fields show now, whether or not a field changed.
    presetsPanel.readCustomMode();

    // 4. Identification speeds and the priority choice.
    guarded([&] { idPanel.checkLoadedSpeeds(); });
    priorityPanel.showChoice();
    // 5. Apply the priority, which also stores it.
    guarded([&] { priorityPanel.BtPrioritetClick(); });
    // 6. Logging state; the header line before the window shows.
    logPanel.showSwitch();
    guarded([&] { logbook.startupHeader(); });
    // 7. The custom mode's label.
    presetsPanel.showCustomLabel();
    // 8. The stored messages.
    for (int k = 0; k < 4; ++k)
        guarded([&] { messagesPanel.showText(k + 1, texts[k]); });
    // 9. Waveforms and the port choices.
    guarded([&] { main.rgR.setItemIndex(TA); });
    guarded([&] { main.rgL.setItemIndex(TB); });
    guarded([&] { portPanel.showChoices(); });
    // 10. Tuning step 1 k.
    guarded([&] { main.RBt1k.setChecked(true); });
    // 11. Compact layout choices.
    guarded([&] { main.ChBA.setChecked(VA == 1); });
    guarded([&] { main.ChBB.setChecked(VB == 1); });
    // 12. The stored tuning range, both limits in one step; then the stored frequency again when it lies
    // inside that range, so that it survives a restart instead of being pulled into the designed range.
    guarded([&] { optionsPanel.restoreTuningRange(minF, maxF); });
    if (freq >= main.RFreqScrollBar1.minValue() && freq <= main.RFreqScrollBar1.maxValue()) {
        guarded([&] { main.seRfreq.setValue(freq); });
        guarded([&] { main.fineRfr.setValue(fine); });
    }
    // 13. The memory captions were set as the keys were read.
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
    guarded([&] { plan.retuneVfoA(); });
    guarded([&] { plan.retuneVfoB(); });
    // 16. The compact layout.
    guarded([&] { layout.showCompact(); });
    // 17. Shown; the keyboard to Edit1.
    main.TForm1.show();
    main.Edit1.setFocus();
}

void TForm1::FormDestroy() {
    if (transmission.onAir())
        guarded([this] { transmission.stopTransmission(); });
    stream.stopAndWait();
    port.transmitter().releasePort();
}

void TForm1::FormKeyDown(int key, bool alt) {
    optionsPanel.FormKeyDown(key, alt);
}

void TForm1::FormShortCut(int functionKey) {
    guarded([&] { memoriesPanel.FormShortCut(functionKey); });
}

} // namespace tarvel::ui
