#pragma once
// Shows a CheckBox model as a QCheckBox; the operator's click sets the model's state.
#include "ui/controls/CheckBox.h"
#include "ui/view/MouseForwarding.h"
#include "ui/view/ViewBinding.h"

#include <QCheckBox>

namespace tarvel::ui::view {

class CheckBoxView : public MouseForwarding<QCheckBox> {
public:
    CheckBoxView(controls::CheckBox& model, platform::MessageSink& sink, QWidget* parent);

private:
    void sync();
    controls::CheckBox& model_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
