#pragma once
// Builds the program without its widgets and wires it together: the four windows' controls, the core
// objects and the panels that bind them; then runs the start-up sequence and, on the way out, the end.
// The Qt windows show these controls; tests drive them directly or through the widgets.
#include "audio/AudioDeviceChoice.h"
#include "audio/OutputStream.h"
#include "audio/ToneOutput.h"
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Memories.h"
#include "freqplan/Options.h"
#include "keyer/BeaconMessages.h"
#include "keyer/Port.h"
#include "keyer/Presets.h"
#include "keyer/Transmission.h"
#include "log/ActivityLog.h"
#include "log/Logbook.h"
#include "settings/IniFile.h"
#include "station/SettingsWriter.h"
#include "synth/ToneChannel.h"
#include "ui/Devices.h"
#include "ui/MainLayout.h"
#include "ui/forms/HelpForm.h"
#include "ui/forms/KeypadForm.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"
#include "ui/panels/AudioDevicePanel.h"
#include "ui/panels/BeaconMessagesPanel.h"
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

#include <memory>

namespace tarvel::ui {

class Wiring {
public:
    explicit Wiring(Devices devices);
    ~Wiring();
    Wiring(const Wiring&) = delete;
    Wiring& operator=(const Wiring&) = delete;

    // The start-up sequence: restores every setting through the controls' own change operations.
    void startUp();
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

    // The four windows, for the Qt views that show them.
    forms::MainForm& mainWindow() { return main_; }
    forms::LogForm& logWindow() { return logWindow_; }
    forms::KeypadForm& keypadWindow() { return keypad_; }
    forms::HelpForm& helpWindow() { return help_; }

    // The core objects, for tests that look behind the windows.
    const synth::ToneChannel& vfoA() const { return vfoA_; }
    const synth::ToneChannel& vfoB() const { return vfoB_; }
    audio::OutputStream& stream() { return stream_; }
    const audio::ToneOutput& tone() const { return tone_; }
    const freqplan::FrequencyPlan& plan() const { return plan_; }
    const log::Logbook& logbook() const { return logbook_; }
    const keyer::Presets& presets() const { return presets_; }
    keyer::Transmission& transmission() { return transmission_; }
    platform::Timer& keyerTimer() { return *keyerTimer_; }
    platform::Timer& clockTimer() { return *clockTimer_; }
    platform::Timer& statusTimer() { return *statusTimer_; }

private:
    Devices devices_;
    forms::MainForm main_;
    forms::LogForm logWindow_;
    forms::KeypadForm keypad_;
    forms::HelpForm help_;

    synth::ToneChannel vfoA_;
    synth::ToneChannel vfoB_;
    settings::IniFile ini_;

    audio::OutputStream stream_;
    // Before the tone output, which asks it for the tone at each start.
    freqplan::FrequencyPlan plan_;
    audio::ToneOutput tone_;
    panels::TonePanel tonePanel_;
    panels::VfoAPanel vfoAPanel_;
    panels::VfoBPanel vfoBPanel_;
    freqplan::Options options_;
    MainLayout layout_;
    panels::OptionsPanel optionsPanel_;
    freqplan::Memories memories_;
    panels::MemoriesPanel memoriesPanel_;
    log::ActivityLog activityLog_;
    log::Logbook logbook_;
    panels::LogPanel logPanel_;
    panels::HelpPanel helpPanel_;
    panels::AboutPanel aboutPanel_;
    panels::PriorityPanel priorityPanel_;

    std::unique_ptr<platform::Timer> keyerTimer_;
    std::unique_ptr<platform::Timer> clockTimer_;
    std::unique_ptr<platform::Timer> statusTimer_;

    keyer::Port port_;
    keyer::BeaconMessages messages_;
    keyer::Transmission transmission_;
    keyer::BeaconClock beaconClock_;
    keyer::Presets presets_;
    panels::TransmissionPanel transmissionPanel_;
    panels::EstimatePanel estimatePanel_;
    panels::BeaconMessagesPanel messagesPanel_;
    panels::DiagnosticPanel diagnosticPanel_;
    panels::PresetsPanel presetsPanel_;
    panels::IdPanel idPanel_;
    panels::PortPanel portPanel_;
    audio::AudioDeviceChoice audioDevice_;
    panels::AudioDevicePanel audioDevicePanel_;
    station::SettingsWriter settingsWriter_;

    void guarded(const std::function<void()>& step) { platform::runGuarded(devices_.sink, step); }
    // Hands a failed audio worker's news to the user-interface thread, where the tone ends.
    void postWorkerFailure(std::uint64_t worker);
    // Each window lays out its controls again when its size changes.
    void connectResizes();

    // What start-up reads first and applies in a later step, once the controls it depends on are set.
    struct Stored {
        freqplan::Factors factors;
        std::int32_t vfoBHz = 0;
        std::int32_t coarseHz = 0;
        std::int32_t fineCentiHz = 0;
        std::int32_t rangeMin = 0;
        std::int32_t rangeMax = 0;
        std::int32_t compactShowsVfoA = 0;
        std::int32_t compactShowsVfoB = 0;
        std::int32_t vfoAWaveform = 0;
        std::int32_t vfoBWaveform = 0;
        std::array<std::string, 4> messages;
    };
    // One stored setting: its key as the file spells it (empty for a step between two settings), and
    // how start-up applies it: into a control, a core object, or `Stored`.
    struct Restore {
        std::string key;
        std::function<void()> apply;
    };
    // The settings in the order start-up reads them.
    std::vector<Restore> restoreTable(Stored& stored);

    // Tasks posted to the event loop check it, so that one arriving after the end does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace tarvel::ui
