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
      transmissionPanel(main, transmission), estimatePanel(main, transmission),
      messagesPanel(main, messages, beaconClock, transmission),
      diagnosticPanel(main, transmission, [this](const std::string& text) { devices.cutToClipboard(text); }),
      presetsPanel(main, presets, transmission), idPanel(main, transmission.identification(), ini),
      portPanel(main, port, transmission) {
    // Every window stays hidden until the start-up sequence or the operator shows it.
    const forms::Inventory* windows[] = {&main, &logWindow, &keypad, &help};
    for (const forms::Inventory* form : windows)
        form->window().hide();
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
    guarded([&] { portPanel.showRtsKeying(); });

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
    guarded([&] { priorityPanel.applyChoice(); });
    // 6. Logging state; the header line before the window shows.
    logPanel.showSwitch();
    guarded([&] { logbook.startupHeader(); });
    // 7. The custom mode's label.
    presetsPanel.showCustomLabel();
    // 8. The stored messages.
    for (int k = 0; k < 4; ++k)
        guarded([&] { messagesPanel.showText(k + 1, stored.messages[static_cast<std::size_t>(k)]); });
    // 9. Waveforms and the port choices.
    guarded([&] { vfoAPanel.chooseWaveform(stored.vfoAWaveform); });
    guarded([&] { vfoBPanel.chooseWaveform(stored.vfoBWaveform); });
    guarded([&] { portPanel.showChoices(); });
    // 10. Tuning step 1 k.
    guarded([&] { vfoBPanel.chooseKilohertzStep(); });
    // 11. Compact layout choices.
    guarded([&] { layout.chooseCompactVfoA(stored.compactShowsVfoA == 1); });
    guarded([&] { layout.chooseCompactVfoB(stored.compactShowsVfoB == 1); });
    // 12. The stored tuning range, both limits in one step; then the stored frequency again when it lies
    // inside that range, so that it survives a restart instead of being pulled into the designed range.
    guarded([&] { optionsPanel.restoreTuningRange(stored.rangeMin, stored.rangeMax); });
    if (vfoAPanel.inTuningRange(stored.coarseHz)) {
        guarded([&] { vfoAPanel.setCoarseHz(stored.coarseHz); });
        guarded([&] { vfoAPanel.setFineCentiHz(stored.fineCentiHz); });
    }
    // 13. The memory captions were set as the keys were read.
    // 14. Correction, factors and offsets.
    guarded([&] { optionsPanel.showCorrection(stored.factors.correction); });
    guarded([&] { optionsPanel.showVfoAFactor(stored.factors.vfoAFactor); });
    guarded([&] { optionsPanel.showVfoBFactor(stored.factors.vfoBFactor); });
    guarded([&] { optionsPanel.showVfoBOffset(stored.factors.vfoBOffset); });
    guarded([&] { optionsPanel.showVfoAOffset(stored.factors.vfoAOffset); });
    // 15. VFO B.
    guarded([&] { vfoBPanel.tuneTo(stored.vfoBHz); });
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

std::vector<TForm1::Restore> TForm1::restoreTable(Stored& stored) {
    namespace keys = settings::keys;
    // A row that keeps the value for a later step of the start-up.
    const auto hold = [this](const auto& key, auto& value) {
        return Restore{std::string(key.name), [this, &key, &value] { value = ini.read(key); }};
    };
    // A row that hands the stored value to a panel.
    const auto show = [this](const auto& key, auto apply) {
        return Restore{std::string(key.name), [this, &key, apply] { apply(ini.read(key)); }};
    };
    // A row that hands the stored value to a panel, or what the panel shows when the key is missing.
    const auto keep = [this](const auto& key, auto shown, auto apply) {
        return Restore{std::string(key.name), [this, &key, shown, apply] { apply(ini.read(key, shown())); }};
    };
    using Field = panels::PresetsPanel::CustomField;
    const auto custom = [this, show](const auto& key, Field field) {
        return show(key, [this, field](std::int32_t value) { presetsPanel.showCustomValue(field, value); });
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
             vfoAPanel.setCoarseHz(stored.coarseHz);
         }},
        {std::string(keys::vfoAFine.name),
         [this, &stored] {
             stored.fineCentiHz = ini.read(keys::vfoAFine, vfoAPanel.fineCentiHz());
             vfoAPanel.setFineCentiHz(stored.fineCentiHz);
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
                    keep(
                        keys::bufferKiB, [this] { return tonePanel.bufferSetting(); },
                        [this](std::int32_t kib) { tonePanel.showBufferSetting(kib); }),
                    custom(keys::customDot, Field::Dot),
                    custom(keys::customDash, Field::Dash),
                    custom(keys::customPause, Field::ElementGap),
                    custom(keys::customLetterPause, Field::LetterGap),
                    custom(keys::customShift, Field::Shift),
                    {std::string(keys::logging.name), [this] { logbook.restore(); }},
                    hold(keys::endIdSpeed, transmission.identification().endSpeedSetting),
                    keep(
                        keys::startIdText, [this] { return idPanel.startText(); },
                        [this](const std::string& text) { idPanel.showStartText(text); }),
                    keep(
                        keys::endIdText, [this] { return idPanel.endText(); },
                        [this](const std::string& text) { idPanel.showEndText(text); }),
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
