#pragma once
// The main window's three views and the one place that knows their sizes and places: the compact view
// (the VFO groups that the two check boxes choose), the wide view with the options panel, and the wide
// view with the beacon panel. Called on the user-interface thread.
#include "controls/CheckBox.h"
#include "controls/Control.h"
#include "controls/Simple.h"

namespace tarvel::ui {

struct MainLayoutParts {
    controls::Form& window;
    controls::Control& vfoAGroup;
    controls::Control& vfoBGroup;
    controls::Control& memoryButtons;
    controls::Control& layoutChoices; // the two check boxes and "X"
    controls::Control& optionsPanel;
    controls::Control& vfoBOptions;
    controls::Control& beaconPanel;
    controls::CheckBox& compactShowsVfoA;
    controls::CheckBox& compactShowsVfoB;
};

class MainLayout {
public:
    explicit MainLayout(MainLayoutParts parts) : p_(parts) {}

    // "Setup › Options".
    void showOptions();
    // "QRSS/DFCW".
    void showBeacon();
    // "X" on the options panel, and the end of start-up. Both groups show when both boxes or neither
    // are ticked.
    void showCompact();

private:
    enum class WideView { Options, Beacon };
    void showWide(WideView view);

    MainLayoutParts p_;
};

} // namespace tarvel::ui
