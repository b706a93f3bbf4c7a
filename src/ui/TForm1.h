#pragma once
// The main window without its widgets: the four windows' controls, the shared values and every
// subsystem, wired to each other; the start-up sequence and the shell's own handlers. The Qt windows
// show these controls; tests drive them directly or through the widgets.
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
#include "synth/ToneChannel.h"
#include "ui/Devices.h"
#include "ui/MainLayout.h"
#include "ui/forms/HelpForm.h"
#include "ui/forms/KeypadForm.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"
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

class TForm1 {
public:
    explicit TForm1(Devices devices);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The start-up sequence: restores every setting through the controls' own change operations.
    void FormCreate();
    // The end of the run, on every way out (window closed, termination signal): a transmission on the
    // air ends as Stop TX ends it, the stream stops and its worker is waited for, and the port is let go
    // with both lines low. Safe to run more than once.
    void FormDestroy();

    // A key pressed while the main window itself has the keyboard.
    void FormKeyDown(int key, bool alt);
    // A function key pressed anywhere in the main window (F1 = 1), seen before the focused control.
    void FormShortCut(int functionKey);

    Devices devices;
    forms::MainForm main;
    forms::LogForm logWindow;
    forms::KeypadForm keypad;
    forms::HelpForm help;

    synth::ToneChannel vfoA;
    synth::ToneChannel vfoB;
    settings::IniFile ini;

    audio::OutputStream stream;
    audio::ToneOutput tone;
    panels::TonePanel tonePanel;
    freqplan::FrequencyPlan plan;
    panels::VfoAPanel vfoAPanel;
    panels::VfoBPanel vfoBPanel;
    freqplan::Options options;
    MainLayout layout;
    panels::OptionsPanel optionsPanel;
    freqplan::Memories memories;
    panels::MemoriesPanel memoriesPanel;
    log::ActivityLog activityLog;
    log::Logbook logbook;
    panels::LogPanel logPanel;
    panels::HelpPanel helpPanel;
    panels::AboutPanel aboutPanel;
    panels::PriorityPanel priorityPanel;

    std::unique_ptr<platform::Timer> Timer1;
    std::unique_ptr<platform::Timer> Timer2;
    std::unique_ptr<platform::Timer> Timer3;

    keyer::Port port;
    keyer::BeaconMessages messages;
    keyer::Transmission transmission;
    keyer::BeaconClock beaconClock;
    keyer::Presets presets;
    panels::TransmissionPanel transmissionPanel;
    panels::EstimatePanel estimatePanel;
    panels::BeaconMessagesPanel messagesPanel;
    panels::DiagnosticPanel diagnosticPanel;
    panels::PresetsPanel presetsPanel;
    panels::IdPanel idPanel;
    panels::PortPanel portPanel;

private:
    void guarded(const std::function<void()>& step) { platform::runGuarded(devices.sink, step); }
    // Hands a failed audio worker's news to the user-interface thread, where the tone ends.
    void postWorkerFailure(std::uint64_t worker);
    void connectShell();

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
