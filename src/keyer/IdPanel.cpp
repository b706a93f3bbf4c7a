#include "keyer/IdPanel.h"

namespace tarvel::keyer {

IdPanel::IdPanel(IdControls controls, settings::IniFile& settings) : c_(controls), settings_(settings) {
    c_.ID1.onClick = [this] { ID1Click(); };
    c_.RBtCW.onClick = [this] { RBtCWClick(); };
    c_.RBtQrss3.onClick = [this] { RBtQrss3Click(); };
    c_.RBtCWs.onClick = [this] { RBtCWsClick(); };
    c_.RBtQrss3s.onClick = [this] { RBtQrss3sClick(); };
    c_.BtPNid.onClick = [this] { BtPNidClick(); };
}

void IdPanel::ID1Click() {
    c_.Pnid.show();
}

void IdPanel::RBtCWClick() {
    id = 1;
}
void IdPanel::RBtQrss3Click() {
    id = 2;
}
void IdPanel::RBtCWsClick() {
    ids = 1;
}
void IdPanel::RBtQrss3sClick() {
    ids = 2;
}

void IdPanel::BtPNidClick() {
    c_.Pnid.hide();
    settings_.writeInteger("id", id);
    settings_.writeText("IDStart", c_.Ed_id_Start.text());
    settings_.writeText("IDEnd", c_.Ed_id_End.text());
    settings_.writeInteger("ids", ids);
}

void IdPanel::checkLoadedSpeeds() {
    // Each check runs the button's click handler, which sets the same value again.
    if (id == 1)
        c_.RBtCW.setChecked(true);
    else if (id == 2)
        c_.RBtQrss3.setChecked(true);
    if (ids == 1)
        c_.RBtCWs.setChecked(true);
    else if (ids == 2)
        c_.RBtQrss3s.setChecked(true);
}

} // namespace tarvel::keyer
