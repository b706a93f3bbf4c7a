#include "ui/panels/IdPanel.h"

namespace tarvel::ui::panels {

IdPanel::IdPanel(IdPanelControls controls, keyer::Identification& identification, settings::IniFile& settings)
    : c_(controls), id_(identification), settings_(settings) {
    c_.ID1.onClick = [this] { c_.Pnid.show(); };
    c_.RBtCW.onClick = [this] { speedClicked(id_.endSpeedSetting, 1); };
    c_.RBtQrss3.onClick = [this] { speedClicked(id_.endSpeedSetting, 2); };
    c_.RBtCWs.onClick = [this] { speedClicked(id_.startSpeedSetting, 1); };
    c_.RBtQrss3s.onClick = [this] { speedClicked(id_.startSpeedSetting, 2); };
    c_.ChStart.onClick = [this] { id_.sendStart = c_.ChStart.checked(); };
    c_.ChStop.onClick = [this] { id_.sendEnd = c_.ChStop.checked(); };
    c_.Ed_id_Start.onChange = [this] { id_.startText = c_.Ed_id_Start.text(); };
    c_.Ed_id_End.onChange = [this] { id_.endText = c_.Ed_id_End.text(); };
    c_.BtPNid.onClick = [this] {
        c_.Pnid.hide();
        id_.save(settings_);
    };
    id_.sendStart = c_.ChStart.checked();
    id_.sendEnd = c_.ChStop.checked();
    id_.startText = c_.Ed_id_Start.text();
    id_.endText = c_.Ed_id_End.text();
    takeSpeeds();
}

void IdPanel::takeSpeeds() {
    id_.speeds = {c_.RBtCW.checked(), c_.RBtQrss3.checked(), c_.RBtCWs.checked(), c_.RBtQrss3s.checked()};
}

void IdPanel::speedClicked(std::int32_t& setting, std::int32_t value) {
    setting = value;
    takeSpeeds();
}

void IdPanel::checkLoadedSpeeds() {
    // Each check runs the button's click handler, which sets the same value again.
    if (id_.endSpeedSetting == 1)
        c_.RBtCW.setChecked(true);
    else if (id_.endSpeedSetting == 2)
        c_.RBtQrss3.setChecked(true);
    if (id_.startSpeedSetting == 1)
        c_.RBtCWs.setChecked(true);
    else if (id_.startSpeedSetting == 2)
        c_.RBtQrss3s.setChecked(true);
}

} // namespace tarvel::ui::panels
