#pragma once
// Shows a RadioButton model as a QRadioButton; the model, not Qt, keeps the buttons of a container
// exclusive, so checking one through the program unchecks the others' widgets too.
#include "ui/controls/RadioButton.h"
#include "ui/view/MouseForwarding.h"
#include "ui/view/ViewBinding.h"

#include <QRadioButton>

namespace tarvel::ui::view {

class RadioButtonView : public MouseForwarding<QRadioButton> {
public:
    RadioButtonView(controls::RadioButton& model, platform::MessageSink& sink, QWidget* parent);

private:
    void sync();
    controls::RadioButton& model_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
