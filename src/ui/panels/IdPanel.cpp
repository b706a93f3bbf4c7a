#include "ui/panels/IdPanel.h"

#include "ui/forms/MainForm.h"

namespace tarvel::ui::panels {

IdPanel::IdPanel(forms::MainForm& form, keyer::Identification& identification)
    : popup_(form.Pnid), sendStartBox_(form.ChStart), startText_(form.Ed_id_Start), startCw_(form.RBtCWs),
      startQrss3_(form.RBtQrss3s), sendEndBox_(form.ChStop), endText_(form.Ed_id_End), endCw_(form.RBtCW),
      endQrss3_(form.RBtQrss3), id_(identification) {
    form.ID1.onClick = [this] { popup_.show(); };
    endCw_.onClick = [this] { speedClicked(id_.endSpeedSetting, 1); };
    endQrss3_.onClick = [this] { speedClicked(id_.endSpeedSetting, 2); };
    startCw_.onClick = [this] { speedClicked(id_.startSpeedSetting, 1); };
    startQrss3_.onClick = [this] { speedClicked(id_.startSpeedSetting, 2); };
    sendStartBox_.onClick = [this] { id_.sendStart = sendStartBox_.checked(); };
    sendEndBox_.onClick = [this] { id_.sendEnd = sendEndBox_.checked(); };
    startText_.onChange = [this] { id_.startText = startText_.text(); };
    endText_.onChange = [this] { id_.endText = endText_.text(); };
    form.BtPNid.onClick = [this] {
        popup_.hide();
        id_.save();
    };
    id_.sendStart = sendStartBox_.checked();
    id_.sendEnd = sendEndBox_.checked();
    id_.startText = startText_.text();
    id_.endText = endText_.text();
    takeSpeeds();
}

void IdPanel::takeSpeeds() {
    id_.speeds = {endCw_.checked(), endQrss3_.checked(), startCw_.checked(), startQrss3_.checked()};
}

void IdPanel::speedClicked(std::int32_t& setting, std::int32_t value) {
    setting = value;
    takeSpeeds();
}

const std::string& IdPanel::startText() const {
    return startText_.text();
}

const std::string& IdPanel::endText() const {
    return endText_.text();
}

void IdPanel::showStartText(const std::string& text) {
    startText_.setText(text);
}

void IdPanel::showEndText(const std::string& text) {
    endText_.setText(text);
}

void IdPanel::checkLoadedSpeeds() {
    // Each check runs the button's click handler, which sets the same value again.
    if (id_.endSpeedSetting == 1)
        endCw_.setChecked(true);
    else if (id_.endSpeedSetting == 2)
        endQrss3_.setChecked(true);
    if (id_.startSpeedSetting == 1)
        startCw_.setChecked(true);
    else if (id_.startSpeedSetting == 2)
        startQrss3_.setChecked(true);
}

} // namespace tarvel::ui::panels
