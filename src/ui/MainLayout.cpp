#include "ui/MainLayout.h"

namespace tarvel::ui {

MainLayout::MainLayout(forms::MainForm& form, freqplan::Options& options, std::function<void()> openPort)
    : window_(form.TForm1), vfoAGroup_(form.GroupBox2), vfoBGroup_(form.GroupBox1), memoryButtons_(form.PnBt),
      layoutChoices_(form.PnCh), optionsPanel_(form.PnOption), vfoBOptions_(form.GroupBox4),
      beaconPanel_(form.Panel3), compactShowsVfoA_(form.ChBA), compactShowsVfoB_(form.ChBB) {
    form.Options2.onClick = [this] { showOptions(); };
    form.Button1.onClick = [this] { showCompact(); };
    // The operator sees why the port is missing, but still gets the beacon panel.
    form.QRSSDFCW2.onClick = [this, openPort = std::move(openPort)] {
        openPort();
        showBeacon();
    };
    compactShowsVfoA_.onClick = [this, &options] { options.setCompactVfoA(compactShowsVfoA_.checked()); };
    compactShowsVfoB_.onClick = [this, &options] { options.setCompactVfoB(compactShowsVfoB_.checked()); };
}

void MainLayout::showOptions() {
    showWide(WideView::Options);
}

void MainLayout::showBeacon() {
    showWide(WideView::Beacon);
}

void MainLayout::showWide(WideView view) {
    // The options and the beacon panel share the right half; the layout choices belong to the options.
    layoutChoices_.setVisible(view == WideView::Options);
    window_.setWidth(590);
    optionsPanel_.show();
    vfoBOptions_.show();
    window_.setHeight(374);
    vfoBGroup_.setTop(216);
    memoryButtons_.setTop(280);
    vfoBGroup_.show();
    vfoAGroup_.show();
    beaconPanel_.setVisible(view == WideView::Beacon);
}

void MainLayout::showCompact() {
    const bool vfoA = compactShowsVfoA_.checked();
    const bool vfoB = compactShowsVfoB_.checked();
    optionsPanel_.hide();
    vfoBOptions_.hide();
    window_.setWidth(332);
    vfoAGroup_.setVisible(vfoA);
    vfoBGroup_.setTop(16);
    memoryButtons_.setTop(80);
    window_.setHeight(170);
    if (vfoB) {
        vfoBGroup_.show();
    } else {
        vfoBGroup_.hide();
        window_.setHeight(320);
        memoryButtons_.setTop(216);
    }
    if (vfoA == vfoB) {
        vfoBGroup_.show();
        vfoAGroup_.show();
        window_.setHeight(374);
        vfoAGroup_.setTop(16);
        vfoBGroup_.setTop(216);
        memoryButtons_.setTop(280);
    }
}

} // namespace tarvel::ui
