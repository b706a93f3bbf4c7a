#include "ui/Wiring.h"

#include <chrono>

namespace tarvel::ui {
namespace {

std::int64_t systemUtcMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

Wiring::Wiring(Devices d)
    : devices_(std::move(d)),
      keyerTimer_(devices_.makeKeyerTimer ? devices_.makeKeyerTimer() : devices_.makeTimer()),
      clockTimer_(devices_.makeTimer()), statusTimer_(devices_.makeTimer()), wsprTimer_(devices_.makeTimer()),
      nowUtcMs_(devices_.nowUtcMs ? devices_.nowUtcMs : systemUtcMs),
      station_({devices_.lines, *keyerTimer_, *clockTimer_, devices_.clock, devices_.sink,
                devices_.makeAudioDevice, devices_.outputPcms, devices_.settingsPath,
                settings::IniFile::Access::ReadWrite, devices_.logPath}),
      wsprBeacon_(station_.transmission(), station_.presets(), *wsprTimer_, nowUtcMs_, devices_.wsprDraw),
      tonePanel_(main_, station_.tone()), vfoAPanel_(main_, station_.plan()),
      vfoBPanel_(main_, station_.plan()),
      // The operator sees why the port is missing, but still gets the beacon panel.
      layout_(main_, station_.options(), [this] { guarded([this] { portPanel_.openPort(); }); }),
      optionsPanel_(main_, station_.plan(), station_.options(), vfoAPanel_),
      memoriesPanel_(main_, keypad_, station_.memories(), station_.plan(), vfoAPanel_),
      logPanel_(main_, logWindow_, station_.logbook()), helpPanel_(main_, help_, devices_.helpPath),
      aboutPanel_(main_, station_.tone()), priorityPanel_(main_, devices_.priority, station_.settings()),
      transmissionPanel_(main_, station_.transmission()), estimatePanel_(main_, station_.transmission()),
      messagesPanel_(main_, station_.messages(), station_.beaconClock(), station_.transmission()),
      diagnosticPanel_(main_, station_.transmission(),
                       [this](const std::string& text) { devices_.cutToClipboard(text); }),
      presetsPanel_(main_, station_.presets(), station_.transmission()),
      idPanel_(main_, station_.transmission().identification()),
      portPanel_(main_, station_.port(), station_.transmission(), devices_.serialPorts),
      audioDevicePanel_(main_, station_.audioDevice()),
      calibratePanel_(main_, calibrate_, station_.clockMeasurement(), station_.plan(), optionsPanel_,
                      devices_.clockDiscipline ? *devices_.clockDiscipline : kernelClock_),
      wsprPanel_(main_, wspr_, wsprBeacon_, station_.transmission(), nowUtcMs_,
                 [this] {
                     if (!station_.port().transmitter().portOpened())
                         portPanel_.openPort();
                 }),
      settingsWriter_(station_.settings(),
                      {station_.plan(), station_.options(), station_.memories(), station_.tone(),
                       station_.audioDevice(), station_.clockMeasurement(), station_.logbook(),
                       station_.port(), station_.presets(), station_.messages(),
                       station_.transmission().identification(), priorityPanel_.applied, wsprBeacon_}) {
    // Every window stays hidden until the start-up sequence or the operator shows it.
    const forms::Inventory* windows[] = {&main_, &logWindow_, &keypad_, &help_, &calibrate_, &wspr_};
    for (const forms::Inventory* form : windows)
        form->window().hide();
    connectResizes();
    for (auto* timer : {keyerTimer_.get(), clockTimer_.get(), statusTimer_.get()}) {
        timer->setInterval(1000);
        timer->setEnabled(true);
    }
    // The status tick keeps the underruns shown current while the tone plays, and the clock measured.
    statusTimer_->onTimeout = [this] {
        tonePanel_.showUnderruns();
        aboutPanel_.showUnderruns();
        calibratePanel_.tick();
        wsprPanel_.tick();
    };
    // A pass that fails to start is shown, and the next frame is aimed at already.
    wsprTimer_->onTimeout = [this, alarm = std::move(wsprTimer_->onTimeout)] { guarded(alarm); };
    // The beacon panel's Stop TX (and its key) also ends the WSPR passes: nothing keys again after it.
    main_.BtStopTX.onClick = [this, stop = std::move(main_.BtStopTX.onClick)] {
        wsprBeacon_.disarm();
        stop();
    };
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
    loadAndShow();
    takeKeyboard();
}

void Wiring::loadAndShow() {
    const station::StoredSettings& stored = station_.load();
    priorityPanel_.choice = station_.priorityChoice();
    clockTimer_->setEnabled(true);
    guarded([&] { portPanel_.showRtsKeying(); });
    // The log file exists from here on; a working directory that refuses it does not stop start-up.
    station_.activityLog().ensureFile();

    // VFO A through its fields, whose rules (the fine value's carry, the tuning bar) settle it.
    guarded([&] { vfoAPanel_.setCoarseHz(stored.vfoACoarseHz); });
    guarded([&] { vfoAPanel_.setFineCentiHz(stored.vfoAFineCentiHz); });
    // What the station loaded, shown; the fields' handlers take the same values again.
    memoriesPanel_.showCaptions();
    guarded([&] { tonePanel_.showBufferSetting(stored.bufferKiB); });
    using Field = panels::PresetsPanel::CustomField;
    const keyer::CustomMode custom = stored.customMode;
    for (const auto& [field, value] : {std::pair{Field::Dot, custom.dotSeconds},
                                       {Field::Dash, custom.dashFactor},
                                       {Field::ElementGap, custom.gapDivisor},
                                       {Field::LetterGap, custom.letterGapFactor},
                                       {Field::Shift, custom.shiftCentiHz}})
        guarded([&] { presetsPanel_.showCustomValue(field, value); });
    guarded([&] { idPanel_.showStartText(stored.startIdText); });
    guarded([&] { idPanel_.showEndText(stored.endIdText); });
    guarded([&] { portPanel_.showPortNames(); });
    // The custom keying values take what their fields show now, whether or not a field changed.
    presetsPanel_.readCustomMode();

    guarded([&] { idPanel_.checkLoadedSpeeds(); });
    wsprPanel_.showValues(stored.wspr);
    priorityPanel_.showChoice();
    // The priority applied, which also stores it.
    guarded([&] { priorityPanel_.applyChoice(); });
    // The logging switch; the header line before the window shows.
    logPanel_.showSwitch();
    guarded([&] { station_.logbook().startupHeader(); });
    presetsPanel_.showCustomLabel();
    for (int k = 1; k <= keyer::BeaconMessages::kCount; ++k)
        guarded([&] { messagesPanel_.showText(k, stored.messages[static_cast<std::size_t>(k - 1)]); });
    guarded([&] { vfoAPanel_.chooseWaveform(stored.vfoAWaveform); });
    guarded([&] { vfoBPanel_.chooseWaveform(stored.vfoBWaveform); });
    guarded([&] { portPanel_.showChoices(); });
    guarded([&] { vfoBPanel_.chooseKilohertzStep(); });
    guarded([&] { layout_.chooseCompactVfoA(stored.compactShowsVfoA); });
    guarded([&] { layout_.chooseCompactVfoB(stored.compactShowsVfoB); });
    // The stored tuning range, both limits in one step; then the stored frequency again when it lies
    // inside that range, so that it survives a restart instead of being pulled into the designed range.
    guarded([&] { optionsPanel_.restoreTuningRange(stored.rangeMinHz, stored.rangeMaxHz); });
    if (vfoAPanel_.inTuningRange(stored.vfoACoarseHz)) {
        guarded([&] { vfoAPanel_.setCoarseHz(stored.vfoACoarseHz); });
        guarded([&] { vfoAPanel_.setFineCentiHz(stored.vfoAFineCentiHz); });
    }
    const freqplan::Factors& factors = stored.factors;
    guarded([&] { optionsPanel_.showCorrection(factors.correction); });
    guarded([&] { optionsPanel_.showVfoAFactor(factors.vfoAFactor); });
    guarded([&] { optionsPanel_.showVfoBFactor(factors.vfoBFactor); });
    guarded([&] { optionsPanel_.showVfoBOffset(factors.vfoBOffset); });
    guarded([&] { optionsPanel_.showVfoAOffset(factors.vfoAOffset); });
    guarded([&] { vfoBPanel_.tuneTo(stored.vfoBHz); });
    // Both retunes in any case, so the cached values and both words are right before the first Start or
    // memory store even where no control changed.
    guarded([&] { station_.plan().retuneVfoA(); });
    guarded([&] { station_.plan().retuneVfoB(); });
    guarded([&] { layout_.showCompact(); });
    main_.window().show();
}

void Wiring::takeKeyboard() {
    // The window's own box, where the function keys reach it.
    memoriesPanel_.takeKeyboard();
}

void Wiring::shutDown() {
    wsprBeacon_.disarm();
    station_.shutDown();
}

void Wiring::watchTone(platform::Timer& timer) {
    station_.tone().watchStream(timer, devices_.sink);
}

void Wiring::stopTransmission() {
    wsprBeacon_.disarm();
    station_.stopTransmission();
}

void Wiring::keyPressed(int key, bool alt) {
    optionsPanel_.keyPressed(key, alt);
}

void Wiring::functionKeyPressed(int functionKey) {
    guarded([&] { memoriesPanel_.functionKeyPressed(functionKey); });
}

} // namespace tarvel::ui
