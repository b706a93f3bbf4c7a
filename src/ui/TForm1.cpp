#include "ui/TForm1.h"

#include "platform/Locale.h"
#include "settings/Keys.h"

#include <QCoreApplication>
#include <array>
#include <type_traits>

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

    // 3. Every stored setting, in the order of the table below.
    Stored stored;
    for (const Restore& row : restoreTable(stored))
        guarded(row.apply);
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
        guarded([&] { messagesPanel.showText(k + 1, stored.messages[static_cast<std::size_t>(k)]); });
    // 9. Waveforms and the port choices.
    guarded([&] { main.rgR.setItemIndex(stored.vfoAWaveform); });
    guarded([&] { main.rgL.setItemIndex(stored.vfoBWaveform); });
    guarded([&] { portPanel.showChoices(); });
    // 10. Tuning step 1 k.
    guarded([&] { main.RBt1k.setChecked(true); });
    // 11. Compact layout choices.
    guarded([&] { main.ChBA.setChecked(stored.compactShowsVfoA == 1); });
    guarded([&] { main.ChBB.setChecked(stored.compactShowsVfoB == 1); });
    // 12. The stored tuning range, both limits in one step; then the stored frequency again when it lies
    // inside that range, so that it survives a restart instead of being pulled into the designed range.
    guarded([&] { optionsPanel.restoreTuningRange(stored.rangeMin, stored.rangeMax); });
    if (stored.coarseHz >= main.RFreqScrollBar1.minValue() &&
        stored.coarseHz <= main.RFreqScrollBar1.maxValue()) {
        guarded([&] { main.seRfreq.setValue(stored.coarseHz); });
        guarded([&] { main.fineRfr.setValue(stored.fineCentiHz); });
    }
    // 13. The memory captions were set as the keys were read.
    // 14. Correction, factors and offsets.
    guarded([&] { main.Edit2.setText(platform::formatGeneral(stored.factors.correction)); });
    guarded([&] { main.EdKdel.setText(std::to_string(stored.factors.vfoAFactor)); });
    guarded([&] { main.EdRxKdel.setText(std::to_string(stored.factors.vfoBFactor)); });
    guarded([&] { main.EdFp.setText(std::to_string(stored.factors.vfoBOffset)); });
    guarded([&] { main.EdFpA.setText(std::to_string(stored.factors.vfoAOffset)); });
    // 15. VFO B.
    guarded([&] { main.seLfreq.setValue(stored.vfoBHz); });
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

std::vector<TForm1::Restore> TForm1::restoreTable(Stored& stored) {
    namespace keys = settings::keys;
    // A row that keeps the value for a later step of the start-up.
    const auto hold = [this](const auto& key, auto& value) {
        return Restore{std::string(key.name), [this, &key, &value] { value = ini.read(key); }};
    };
    // A row that sets a spin field to the stored value.
    const auto set = [this](const auto& key, controls::SpinField& field) {
        return Restore{std::string(key.name), [this, &key, &field] { field.setValue(ini.read(key)); }};
    };
    // A row that sets a field to the stored value, or leaves what it shows when the key is missing.
    const auto keep = [this](const auto& key, auto& field) {
        return Restore{std::string(key.name), [this, &key, &field] {
                           if constexpr (std::is_same_v<std::decay_t<decltype(field)>, controls::SpinField>)
                               field.setValue(ini.read(key, field.value()));
                           else
                               field.setText(ini.read(key, field.text()));
                       }};
    };

    std::vector<Restore> rows{
        hold(keys::correction, stored.factors.correction),
        hold(keys::vfoAFactor, stored.factors.vfoAFactor),
        hold(keys::vfoBFactor, stored.factors.vfoBFactor),
        hold(keys::vfoBOffset, stored.factors.vfoBOffset),
        hold(keys::vfoAOffset, stored.factors.vfoAOffset),
        // Held by the plan at once: a field that already shows the stored text runs no handler later.
        {"", [this, &stored] { plan.restoreFactors(stored.factors); }},
        hold(keys::vfoBFrequency, stored.vfoBHz),
        {std::string(keys::vfoACoarse.name),
         [this, &stored] {
             stored.coarseHz = ini.read(keys::vfoACoarse);
             main.seRfreq.setValue(stored.coarseHz);
         }},
        {std::string(keys::vfoAFine.name),
         [this, &stored] {
             stored.fineCentiHz = ini.read(keys::vfoAFine, main.fineRfr.value());
             main.fineRfr.setValue(stored.fineCentiHz);
         }},
    };
    for (int k = keys::memoryCoarse.first; k <= keys::memoryCoarse.last; ++k)
        rows.push_back({keys::memoryCoarse.name(k),
                        [this, k] { memoriesPanel.loadCoarse(k, ini.read(keys::memoryCoarse, k)); }});
    rows.insert(rows.end(), {
                                hold(keys::rangeMax, stored.rangeMax),
                                hold(keys::rangeMin, stored.rangeMin),
                                hold(keys::compactShowsVfoB, stored.compactShowsVfoB),
                                hold(keys::compactShowsVfoA, stored.compactShowsVfoA),
                                hold(keys::portChoice, port.portChoice),
                                hold(keys::keyLineChoice, port.keyLineChoice),
                                hold(keys::vfoAWaveform, stored.vfoAWaveform),
                                hold(keys::vfoBWaveform, stored.vfoBWaveform),
                            });
    for (int k = keys::messages.first; k <= keys::messages.last; ++k)
        rows.push_back({keys::messages.name(k), [this, k, &stored] {
                            stored.messages[static_cast<std::size_t>(k - keys::messages.first)] =
                                ini.read(keys::messages, k);
                        }});
    rows.insert(rows.end(),
                {
                    keep(keys::bufferKiB, main.SpinEdit1),
                    set(keys::customDot, main.SpDot),
                    set(keys::customDash, main.SpDash),
                    set(keys::customPause, main.SpLp),
                    set(keys::customLetterPause, main.SpBigp),
                    set(keys::customShift, main.SpShift),
                    {std::string(keys::logging.name), [this] { logbook.restore(); }},
                    hold(keys::endIdSpeed, transmission.identification().endSpeedSetting),
                    keep(keys::startIdText, main.Ed_id_Start),
                    keep(keys::endIdText, main.Ed_id_End),
                    hold(keys::startIdSpeed, transmission.identification().startSpeedSetting),
                    {std::string(keys::priority.name), [this] { priorityPanel.restore(); }},
                    {std::string(keys::port1Device.name) + ", " + std::string(keys::port2Device.name),
                     [this] { portPanel.loadPortNames(); }},
                });
    return rows;
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
