#include "ui/MainLayout.h"

namespace tarvel::ui {

void MainLayout::showOptions() {
    showWide(WideView::Options);
}

void MainLayout::showBeacon() {
    showWide(WideView::Beacon);
}

void MainLayout::showWide(WideView view) {
    // The options and the beacon panel share the right half; the layout choices belong to the options.
    p_.layoutChoices.setVisible(view == WideView::Options);
    p_.window.setWidth(590);
    p_.optionsPanel.show();
    p_.vfoBOptions.show();
    p_.window.setHeight(374);
    p_.vfoBGroup.setTop(216);
    p_.memoryButtons.setTop(280);
    p_.vfoBGroup.show();
    p_.vfoAGroup.show();
    p_.beaconPanel.setVisible(view == WideView::Beacon);
}

void MainLayout::showCompact() {
    const bool vfoA = p_.compactShowsVfoA.checked();
    const bool vfoB = p_.compactShowsVfoB.checked();
    p_.optionsPanel.hide();
    p_.vfoBOptions.hide();
    p_.window.setWidth(332);
    p_.vfoAGroup.setVisible(vfoA);
    p_.vfoBGroup.setTop(16);
    p_.memoryButtons.setTop(80);
    p_.window.setHeight(170);
    if (vfoB) {
        p_.vfoBGroup.show();
    } else {
        p_.vfoBGroup.hide();
        p_.window.setHeight(320);
        p_.memoryButtons.setTop(216);
    }
    if (vfoA == vfoB) {
        p_.vfoBGroup.show();
        p_.vfoAGroup.show();
        p_.window.setHeight(374);
        p_.vfoAGroup.setTop(16);
        p_.vfoBGroup.setTop(216);
        p_.memoryButtons.setTop(280);
    }
}

} // namespace tarvel::ui
