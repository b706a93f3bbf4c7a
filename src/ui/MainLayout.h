#pragma once
// The main window's three views and the one place that knows their sizes and places: the compact view
// (the VFO groups that the two check boxes choose, stored in the options at each tick), the wide view
// with the options panel, and the wide view with the beacon panel. Called on the user-interface thread.
#include "freqplan/Options.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/Control.h"
#include "ui/controls/Simple.h"
#include "ui/forms/MainForm.h"

#include <functional>

namespace tarvel::ui {

class MainLayout {
public:
    // openPort runs before the beacon view shows; what it throws is its own to report.
    MainLayout(forms::MainForm& form, freqplan::Options& options, std::function<void()> openPort);

    // "Setup › Options".
    void showOptions();
    // "QRSS/DFCW".
    void showBeacon();
    // "X" on the options panel, and the end of start-up. Both groups show when both boxes or neither
    // are ticked.
    void showCompact();
    // Start-up: the stored choices ticked, each tick stored again as the operator's would be.
    void chooseCompactVfoA(bool shown) { compactShowsVfoA_.setChecked(shown); }
    void chooseCompactVfoB(bool shown) { compactShowsVfoB_.setChecked(shown); }

private:
    enum class WideView { Options, Beacon };
    void showWide(WideView view);

    controls::Form& window_;
    controls::Control& vfoAGroup_;
    controls::Control& vfoBGroup_;
    controls::Control& memoryButtons_;
    controls::Control& layoutChoices_; // the two check boxes and "X"
    controls::Control& optionsPanel_;
    controls::Control& vfoBOptions_;
    controls::Control& beaconPanel_;
    controls::CheckBox& compactShowsVfoA_;
    controls::CheckBox& compactShowsVfoB_;
};

} // namespace tarvel::ui
