#pragma once
// Builds the program without its widgets and wires it together: the windows' controls, the station
// and the panels that bind them to its objects; then runs the start-up and, on the way out, the end.
// The Qt windows show these controls; tests drive them directly or through the widgets.
#include "station/SettingsWriter.h"
#include "station/Station.h"
#include "ui/Devices.h"
#include "ui/MainLayout.h"
#include "ui/forms/CalibrateForm.h"
#include "ui/forms/HelpForm.h"
#include "ui/forms/KeypadForm.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"
#include "ui/forms/WsprForm.h"
#include "ui/panels/AudioDevicePanel.h"
#include "ui/panels/BeaconMessagesPanel.h"
#include "ui/panels/CalibratePanel.h"
#include "ui/panels/DiagnosticPanel.h"
#include "ui/panels/EstimatePanel.h"
#include "ui/panels/IdPanel.h"
#include "ui/panels/LogPanel.h"
#include "ui/panels/MemoriesPanel.h"
#include "ui/panels/OptionsPanel.h"
#include "ui/panels/PortPanel.h"
#include "ui/panels/PresetsPanel.h"
#include "ui/panels/ShellPanels.h"
#include "ui/panels/TonePanel.h"
#include "ui/panels/TransmissionPanel.h"
#include "ui/panels/VfoPanels.h"
#include "ui/panels/WsprPanel.h"

#include <memory>

namespace tarvel::ui {

class Wiring {
public:
    explicit Wiring(Devices devices);
    ~Wiring();
    Wiring(const Wiring&) = delete;
    Wiring& operator=(const Wiring&) = delete;

    // The start-up: the station loads the settings file, the panels show what it holds, and the VFOs are
    // tuned through their fields by the fields' own rules; then the window shows and the keyboard goes to
    // the window's own box.
    void startUp();
    // The same start-up in two steps, for windows built in between: built after the values are in, they
    // show them from the start and leave what is hidden for later; the keyboard needs their widgets.
    void loadAndShow();
    void takeKeyboard();
    // The end of the run, on every way out (window closed, termination signal): a transmission on the
    // air ends as Stop TX ends it, the stream stops and its worker is waited for (within a bound: a stalled
    // sound device is left behind, and the operator told so), and the port is let go with both lines low.
    // Safe to run more than once.
    void shutDown();
    // A transmission on the air ends as Stop TX ends it (the program is about to be stopped).
    void stopTransmission();
    // The playing stream is watched on timer, a real-time timer that outlives the wiring: one that takes
    // no buffers is lost as a failed one is.
    void watchTone(platform::Timer& timer);

    // A key pressed while the main window itself has the keyboard.
    void keyPressed(int key, bool alt);
    // A function key pressed anywhere in the main window (F1 = 1), seen before the focused control.
    void functionKeyPressed(int functionKey);

    // The windows, for the Qt views that show them.
    forms::MainForm& mainWindow() { return main_; }
    forms::LogForm& logWindow() { return logWindow_; }
    forms::KeypadForm& keypadWindow() { return keypad_; }
    forms::HelpForm& helpWindow() { return help_; }
    forms::CalibrateForm& calibrateWindow() { return calibrate_; }
    forms::WsprForm& wsprWindow() { return wspr_; }

    // The core objects, for tests that look behind the windows.
    station::Station& station() { return station_; }
    const synth::ToneChannel& vfoA() const { return station_.vfoA(); }
    const synth::ToneChannel& vfoB() const { return station_.vfoB(); }
    audio::OutputStream& stream() { return station_.stream(); }
    const audio::ToneOutput& tone() { return station_.tone(); }
    const freqplan::FrequencyPlan& plan() { return station_.plan(); }
    const log::Logbook& logbook() { return station_.logbook(); }
    const keyer::Presets& presets() { return station_.presets(); }
    keyer::Transmission& transmission() { return station_.transmission(); }
    platform::Timer& keyerTimer() { return *keyerTimer_; }
    platform::Timer& clockTimer() { return *clockTimer_; }
    platform::Timer& statusTimer() { return *statusTimer_; }
    platform::Timer& wsprTimer() { return *wsprTimer_; }
    const keyer::WsprBeacon& wsprBeacon() const { return wsprBeacon_; }

private:
    Devices devices_;
    forms::MainForm main_;
    forms::LogForm logWindow_;
    forms::KeypadForm keypad_;
    forms::HelpForm help_;
    forms::CalibrateForm calibrate_;
    forms::WsprForm wspr_;
    platform::KernelClockDiscipline kernelClock_;

    std::unique_ptr<platform::Timer> keyerTimer_;
    std::unique_ptr<platform::Timer> clockTimer_;
    std::unique_ptr<platform::Timer> statusTimer_;
    std::unique_ptr<platform::Timer> wsprTimer_;
    std::function<std::int64_t()> nowUtcMs_;
    station::Station station_;
    keyer::WsprBeacon wsprBeacon_;

    panels::TonePanel tonePanel_;
    panels::VfoAPanel vfoAPanel_;
    panels::VfoBPanel vfoBPanel_;
    MainLayout layout_;
    panels::OptionsPanel optionsPanel_;
    panels::MemoriesPanel memoriesPanel_;
    panels::LogPanel logPanel_;
    panels::HelpPanel helpPanel_;
    panels::AboutPanel aboutPanel_;
    panels::PriorityPanel priorityPanel_;
    panels::TransmissionPanel transmissionPanel_;
    panels::EstimatePanel estimatePanel_;
    panels::BeaconMessagesPanel messagesPanel_;
    panels::DiagnosticPanel diagnosticPanel_;
    panels::PresetsPanel presetsPanel_;
    panels::IdPanel idPanel_;
    panels::PortPanel portPanel_;
    panels::AudioDevicePanel audioDevicePanel_;
    panels::CalibratePanel calibratePanel_;
    panels::WsprPanel wsprPanel_;
    // The window keeps what the operator changes; nothing is written before start-up.
    station::SettingsWriter settingsWriter_;

    void guarded(const std::function<void()>& step) { platform::runGuarded(devices_.sink, step); }
    // Each window lays out its controls again when its size changes.
    void connectResizes();
};

} // namespace tarvel::ui
