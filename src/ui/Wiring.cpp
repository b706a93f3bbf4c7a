#include "ui/Wiring.h"

#include "freqplan/PlanTone.h"
#include "settings/Keys.h"

#include <QCoreApplication>
#include <array>
#include <type_traits>

namespace tarvel::ui {
Wiring::Wiring(Devices d)
    : devices_(std::move(d)), ini_(devices_.settingsPath),
      stream_(
          vfoA_, vfoB_, [this] { return devices_.makeAudioDevice(ini_.read(settings::keys::audioDevice)); },
          [this](std::uint64_t worker) { postWorkerFailure(worker); }),
      tone_(stream_, vfoA_, vfoB_, ini_, freqplan::toneSourceOf(plan_)), tonePanel_(main_, tone_),
      plan_(vfoA_, vfoB_, ini_), vfoAPanel_(main_, plan_), vfoBPanel_(main_, plan_), options_(ini_),
      // The operator sees why the port is missing, but still gets the beacon panel.
      layout_(main_, options_, [this] { guarded([this] { portPanel_.openPort(); }); }),
      optionsPanel_(main_, plan_, options_, vfoAPanel_), memories_(plan_, ini_),
      memoriesPanel_(main_, keypad_, memories_, plan_, vfoAPanel_),
      activityLog_(devices_.logPath, devices_.clock), logbook_(activityLog_, ini_),
      logPanel_(main_, logWindow_, logbook_), helpPanel_(main_, help_, devices_.helpPath),
      aboutPanel_(main_, tone_), priorityPanel_(main_, devices_.priority, ini_),
      // The keyer.
      keyerTimer_(devices_.makeTimer()), clockTimer_(devices_.makeTimer()),
      statusTimer_(devices_.makeTimer()), port_(devices_.lines, ini_), messages_(ini_),
      transmission_(*keyerTimer_, port_.transmitter(), plan_, tone_, logbook_, messages_, devices_.clock,
                    devices_.sink),
      beaconClock_(logbook_, devices_.clock, *clockTimer_, devices_.sink), presets_(transmission_, ini_),
      transmissionPanel_(main_, transmission_), estimatePanel_(main_, transmission_),
      messagesPanel_(main_, messages_, beaconClock_, transmission_),
      diagnosticPanel_(main_, transmission_,
                       [this](const std::string& text) { devices_.cutToClipboard(text); }),
      presetsPanel_(main_, presets_, transmission_), idPanel_(main_, transmission_.identification(), ini_),
      portPanel_(main_, port_, transmission_, devices_.serialPorts), audioDevice_(devices_.outputPcms, ini_),
      audioDevicePanel_(main_, audioDevice_) {
    // Every window stays hidden until the start-up sequence or the operator shows it.
    const forms::Inventory* windows[] = {&main_, &logWindow_, &keypad_, &help_};
    for (const forms::Inventory* form : windows)
        form->window().hide();
    connectResizes();
    for (auto* timer : {keyerTimer_.get(), clockTimer_.get(), statusTimer_.get()}) {
        timer->setInterval(1000);
        timer->setEnabled(true);
    }
    // The status tick keeps the underruns shown current while the tone plays.
    statusTimer_->onTimeout = [this] {
        tonePanel_.showUnderruns();
        aboutPanel_.showUnderruns();
    };
    // A transmission without its reference tone must not go on keying the transmitter.
    tone_.onToneLost = [this] {
        if (transmission_.onAir())
            transmission_.stopTransmission();
    };
}

void Wiring::postWorkerFailure(std::uint64_t worker) {
    // Queued on the event loop, which runs on the user-interface thread whichever thread posts.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, worker, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.lock())
                guarded([&] { tone_.workerFailed(worker); });
        },
        Qt::QueuedConnection);
}

Wiring::~Wiring() {
    shutDown();
}

void Wiring::connectResizes() {
    logWindow_.window().onResize = [this] { logWindow_.resized(); };
    help_.window().onResize = [this] { help_.resized(); };
    keypad_.window().onResize = [this] { keypad_.resized(); };
}

void Wiring::startUp() {
    // 1. Values that are not settings.
    plan_.restoreFactors({});
    plan_.setDfcwShift(0);
    stream_.setBufferBytes(tonePanel_.bufferSetting() * 1024);
    transmission_.setKeying({});
    transmission_.rewind();
    priorityPanel_.choice = platform::ProcessPriority::Normal;
    clockTimer_->setEnabled(true);
    guarded([&] { portPanel_.showRtsKeying(); });

    // 2. The log file exists from here on; a working directory that refuses it does not stop start-up.
    activityLog_.ensureFile();

    // 3. Every stored setting, in the order of the table below.
    Stored stored;
    for (const Restore& row : restoreTable(stored))
        guarded(row.apply);
    // The custom keying values take what their fields show now, whether or not a field changed.
    presetsPanel_.readCustomMode();

    // 4. Identification speeds and the priority choice.
    guarded([&] { idPanel_.checkLoadedSpeeds(); });
    priorityPanel_.showChoice();
    // 5. Apply the priority, which also stores it.
    guarded([&] { priorityPanel_.applyChoice(); });
    // 6. Logging state; the header line before the window shows.
    logPanel_.showSwitch();
    guarded([&] { logbook_.startupHeader(); });
    // 7. The custom mode's label.
    presetsPanel_.showCustomLabel();
    // 8. The stored messages.
    for (int k = 0; k < 4; ++k)
        guarded([&] { messagesPanel_.showText(k + 1, stored.messages[static_cast<std::size_t>(k)]); });
    // 9. Waveforms and the port choices.
    guarded([&] { vfoAPanel_.chooseWaveform(stored.vfoAWaveform); });
    guarded([&] { vfoBPanel_.chooseWaveform(stored.vfoBWaveform); });
    guarded([&] { portPanel_.showChoices(); });
    // 10. Tuning step 1 k.
    guarded([&] { vfoBPanel_.chooseKilohertzStep(); });
    // 11. Compact layout choices.
    guarded([&] { layout_.chooseCompactVfoA(stored.compactShowsVfoA == 1); });
    guarded([&] { layout_.chooseCompactVfoB(stored.compactShowsVfoB == 1); });
    // 12. The stored tuning range, both limits in one step; then the stored frequency again when it lies
    // inside that range, so that it survives a restart instead of being pulled into the designed range.
    guarded([&] { optionsPanel_.restoreTuningRange(stored.rangeMin, stored.rangeMax); });
    if (vfoAPanel_.inTuningRange(stored.coarseHz)) {
        guarded([&] { vfoAPanel_.setCoarseHz(stored.coarseHz); });
        guarded([&] { vfoAPanel_.setFineCentiHz(stored.fineCentiHz); });
    }
    // 13. The memory captions were set as the keys were read.
    // 14. Correction, factors and offsets.
    guarded([&] { optionsPanel_.showCorrection(stored.factors.correction); });
    guarded([&] { optionsPanel_.showVfoAFactor(stored.factors.vfoAFactor); });
    guarded([&] { optionsPanel_.showVfoBFactor(stored.factors.vfoBFactor); });
    guarded([&] { optionsPanel_.showVfoBOffset(stored.factors.vfoBOffset); });
    guarded([&] { optionsPanel_.showVfoAOffset(stored.factors.vfoAOffset); });
    // 15. VFO B.
    guarded([&] { vfoBPanel_.tuneTo(stored.vfoBHz); });
    // Both retunes in any case, so the cached values and both words are right before the first Start or
    // memory store even where no control changed.
    guarded([&] { plan_.retuneVfoA(); });
    guarded([&] { plan_.retuneVfoB(); });
    // 16. The compact layout.
    guarded([&] { layout_.showCompact(); });
    // 17. Shown; the keyboard to the window's own box, where the function keys reach it.
    main_.window().show();
    memoriesPanel_.takeKeyboard();
}

std::vector<Wiring::Restore> Wiring::restoreTable(Stored& stored) {
    namespace keys = settings::keys;
    // A row that keeps the value for a later step of the start-up.
    const auto hold = [this](const auto& key, auto& value) {
        // Cast: the port's choices are enums over the stored numbers.
        return Restore{std::string(key.name), [this, &key, &value] {
                           value = static_cast<std::remove_reference_t<decltype(value)>>(ini_.read(key));
                       }};
    };
    // A row that hands the stored value to a panel.
    const auto show = [this](const auto& key, auto apply) {
        return Restore{std::string(key.name), [this, &key, apply] { apply(ini_.read(key)); }};
    };
    // A row that hands the stored value to a panel, or what the panel shows when the key is missing.
    const auto keep = [this](const auto& key, auto shown, auto apply) {
        return Restore{std::string(key.name), [this, &key, shown, apply] { apply(ini_.read(key, shown())); }};
    };
    using Field = panels::PresetsPanel::CustomField;
    const auto custom = [this, show](const auto& key, Field field) {
        return show(key, [this, field](std::int32_t value) { presetsPanel_.showCustomValue(field, value); });
    };

    std::vector<Restore> rows{
        hold(keys::correction, stored.factors.correction),
        hold(keys::vfoAFactor, stored.factors.vfoAFactor),
        hold(keys::vfoBFactor, stored.factors.vfoBFactor),
        hold(keys::vfoBOffset, stored.factors.vfoBOffset),
        hold(keys::vfoAOffset, stored.factors.vfoAOffset),
        // Held by the plan at once: a field that already shows the stored text runs no handler later.
        {"", [this, &stored] { plan_.restoreFactors(stored.factors); }},
        hold(keys::vfoBFrequency, stored.vfoBHz),
        {std::string(keys::vfoACoarse.name),
         [this, &stored] {
             stored.coarseHz = ini_.read(keys::vfoACoarse);
             vfoAPanel_.setCoarseHz(stored.coarseHz);
         }},
        {std::string(keys::vfoAFine.name),
         [this, &stored] {
             stored.fineCentiHz = ini_.read(keys::vfoAFine, vfoAPanel_.fineCentiHz());
             vfoAPanel_.setFineCentiHz(stored.fineCentiHz);
         }},
    };
    for (int k = keys::memoryCoarse.first; k <= keys::memoryCoarse.last; ++k)
        rows.push_back({keys::memoryCoarse.name(k),
                        [this, k] { memoriesPanel_.loadCoarse(k, ini_.read(keys::memoryCoarse, k)); }});
    rows.insert(rows.end(), {
                                hold(keys::rangeMax, stored.rangeMax),
                                hold(keys::rangeMin, stored.rangeMin),
                                hold(keys::compactShowsVfoB, stored.compactShowsVfoB),
                                hold(keys::compactShowsVfoA, stored.compactShowsVfoA),
                                hold(keys::portChoice, port_.portChoice),
                                hold(keys::keyLineChoice, port_.keyLineChoice),
                                hold(keys::vfoAWaveform, stored.vfoAWaveform),
                                hold(keys::vfoBWaveform, stored.vfoBWaveform),
                            });
    for (int k = keys::messages.first; k <= keys::messages.last; ++k)
        rows.push_back({keys::messages.name(k), [this, k, &stored] {
                            stored.messages[static_cast<std::size_t>(k - keys::messages.first)] =
                                ini_.read(keys::messages, k);
                        }});
    rows.insert(rows.end(),
                {
                    keep(
                        keys::bufferKiB, [this] { return tonePanel_.bufferSetting(); },
                        [this](std::int32_t kib) { tonePanel_.showBufferSetting(kib); }),
                    custom(keys::customDot, Field::Dot),
                    custom(keys::customDash, Field::Dash),
                    custom(keys::customPause, Field::ElementGap),
                    custom(keys::customLetterPause, Field::LetterGap),
                    custom(keys::customShift, Field::Shift),
                    {std::string(keys::logging.name), [this] { logbook_.restore(); }},
                    hold(keys::endIdSpeed, transmission_.identification().endSpeedSetting),
                    keep(
                        keys::startIdText, [this] { return idPanel_.startText(); },
                        [this](const std::string& text) { idPanel_.showStartText(text); }),
                    keep(
                        keys::endIdText, [this] { return idPanel_.endText(); },
                        [this](const std::string& text) { idPanel_.showEndText(text); }),
                    hold(keys::startIdSpeed, transmission_.identification().startSpeedSetting),
                    {std::string(keys::priority.name), [this] { priorityPanel_.restore(); }},
                    {std::string(keys::port1Device.name) + ", " + std::string(keys::port2Device.name),
                     [this] { portPanel_.loadPortNames(); }},
                });
    return rows;
}

void Wiring::shutDown() {
    stopTransmission();
    const bool stopped = stream_.stopAndWait();
    port_.transmitter().releasePort();
    // Said once the lines are low: the message waits for the operator.
    if (!stopped)
        devices_.sink.show(stream_.leftBehindNotice());
}

void Wiring::watchTone(platform::Timer& timer) {
    tone_.watchStream(timer, devices_.sink);
}

void Wiring::stopTransmission() {
    if (transmission_.onAir())
        guarded([this] { transmission_.stopTransmission(); });
}

void Wiring::keyPressed(int key, bool alt) {
    optionsPanel_.keyPressed(key, alt);
}

void Wiring::functionKeyPressed(int functionKey) {
    guarded([&] { memoriesPanel_.functionKeyPressed(functionKey); });
}

} // namespace tarvel::ui
