#include "ui/TForm1.h"

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
      tonePanel(main, tone), plan(vfoA, vfoB, ini), vfoAPanel(main, plan), vfoBPanel(main, plan),
      options(ini),
      // The operator sees why the port is missing, but still gets the beacon panel.
      layout(main, options, [this] { guarded([this] { portPanel.OpenPortClick(); }); }),
      optionsPanel(main, plan, options, vfoAPanel), memories(plan, ini),
      memoriesPanel(main, keypad, memories, plan, vfoAPanel), activityLog(devices.logPath, devices.clock),
      logbook(activityLog, ini), logPanel(main, logWindow, logbook), helpPanel(main, help, devices.helpPath),
      aboutPanel(main), priorityPanel(main, devices.priority, ini),
      // The keyer.
      Timer1(devices.makeTimer()), Timer2(devices.makeTimer()), Timer3(devices.makeTimer()),
      port(devices.lines, ini), messages(ini),
      transmission(*Timer1, port.transmitter(), plan, tone, logbook, messages, devices.clock, devices.sink),
      beaconClock(logbook, devices.clock, *Timer2, devices.sink), presets(transmission, ini),
      transmissionPanel({main.Lbo, main.LbTextNow, main.ChLoop, main.BtStopTX}, transmission),
      estimatePanel({main.LbTTX, main.LbTxEnd, main.EdTtx}, transmission),
      messagesPanel({{&main.EdTX1, &main.EdTX2, &main.EdTX3, &main.EdTX4},
                     {&main.PnTX1, &main.PnTX2, &main.PnTX3, &main.PnTX4},
                     main.LbTimeNow},
                    messages, beaconClock, transmission),
      diagnosticPanel({main.dot, main.dash, main.lPause, main.bigPause, main.btStP, main.BtPause,
                       main.Button3, main.Button4, main.cw, main.BtText, main.EdbufTtx, main.BtTX, main.EdTX,
                       main.Ed3, main.Edit4, main.Memo1},
                      transmission, [this](const std::string& text) { devices.cutToClipboard(text); }),
      presetsPanel(
          {main.Button5,
           main.Lbmode,
           {&main.BtQRSS1, &main.Button6, &main.Btqrss10, &main.Btqrss20, &main.Btqrss30, &main.Btqrss60,
            &main.Btqrss90, &main.Btqrss120, &main.BtDFCW3, &main.BtDFCW10, &main.Btdfcw20, &main.Btdfcw30,
            &main.btDFCW60, &main.BtDFCW90, &main.Btdfcw120, &main.Btdfcw240},
           main.Btdfcw60i,
           main.PnBtdfcw,
           main.SpDot,
           main.SpDash,
           main.SpLp,
           main.SpBigp,
           main.SpShift,
           main.Button9},
          presets, transmission),
      idPanel({main.ID1, main.Pnid, main.ChStart, main.Ed_id_Start, main.RBtCWs, main.RBtQrss3s, main.ChStop,
               main.Ed_id_End, main.RBtCW, main.RBtQrss3, main.BtPNid},
              transmission.identification(), ini),
      portPanel({main.P1, main.PnPort, main.RgCom, main.RgRTS, main.EdPort1, main.EdPort2, main.Button7,
                 main.OpenPort, main.Label32, main.Label33},
                port, transmission) {
    // Every window stays hidden until the start-up sequence or the operator shows it.
    const forms::Inventory* windows[] = {&main, &logWindow, &keypad, &help};
    for (const forms::Inventory* form : windows)
        form->window().hide();
    // The keyer's trace collects lines for as long as beacons run.
    main.Memo1.setMaxLines(2000);
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
    logWindow.window().onResize = [this] { logWindow.resized(); };
    help.window().onResize = [this] { help.resized(); };
    keypad.window().onResize = [this] { keypad.resized(); };
}

void TForm1::FormCreate() {
    // 1. Values that are not settings.
    plan.restoreFactors({});
    plan.setDfcwShift(0);
    stream.setBufferBytes(tonePanel.bufferSetting() * 1024);
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
    guarded([&] { vfoAPanel.setCoarseHz(freq); });
    const std::int32_t fine = ini.readInteger("01x", vfoAPanel.fineCentiHz());
    guarded([&] { vfoAPanel.setFineCentiHz(fine); });
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
    guarded([&] { tonePanel.showBufferSetting(ini.readInteger("Buffer", tonePanel.bufferSetting())); });
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
    guarded([&] { priorityPanel.applyChoice(); });
    // 6. Logging state; the header line before the window shows.
    logPanel.showSwitch();
    guarded([&] { logbook.startupHeader(); });
    // 7. The custom mode's label.
    presetsPanel.showCustomLabel();
    // 8. The stored messages.
    for (int k = 0; k < 4; ++k) {
        controls::TextField* field[] = {&main.EdTX1, &main.EdTX2, &main.EdTX3, &main.EdTX4};
        guarded([&] { field[k]->setText(texts[k]); });
    }
    // 9. Waveforms and the port choices.
    guarded([&] { vfoAPanel.chooseWaveform(TA); });
    guarded([&] { vfoBPanel.chooseWaveform(TB); });
    guarded([&] { portPanel.showChoices(); });
    // 10. Tuning step 1 k.
    guarded([&] { vfoBPanel.chooseKilohertzStep(); });
    // 11. Compact layout choices.
    guarded([&] { layout.chooseCompactVfoA(VA == 1); });
    guarded([&] { layout.chooseCompactVfoB(VB == 1); });
    // 12. The stored tuning range, both limits in one step; then the stored frequency again when it lies
    // inside that range, so that it survives a restart instead of being pulled into the designed range.
    guarded([&] { optionsPanel.restoreTuningRange(minF, maxF); });
    if (vfoAPanel.inTuningRange(freq)) {
        guarded([&] { vfoAPanel.setCoarseHz(freq); });
        guarded([&] { vfoAPanel.setFineCentiHz(fine); });
    }
    // 13. The memory captions were set as the keys were read.
    // 14. Correction, factors and offsets.
    guarded([&] { optionsPanel.showCorrection(corr); });
    guarded([&] { optionsPanel.showVfoAFactor(N); });
    guarded([&] { optionsPanel.showVfoBFactor(Nrx); });
    guarded([&] { optionsPanel.showVfoBOffset(Fp); });
    guarded([&] { optionsPanel.showVfoAOffset(FpA); });
    // 15. VFO B.
    guarded([&] { vfoBPanel.tuneTo(frrx); });
    // Both retunes in any case, so the cached values and both words are right before the first Start or
    // memory store even where no control changed.
    guarded([&] { plan.retuneVfoA(); });
    guarded([&] { plan.retuneVfoB(); });
    // 16. The compact layout.
    guarded([&] { layout.showCompact(); });
    // 17. Shown; the keyboard to Edit1.
    main.window().show();
    memoriesPanel.takeKeyboard();
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
