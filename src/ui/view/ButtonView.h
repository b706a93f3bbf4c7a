#pragma once
// Shows a Button model as a QPushButton: a click runs the model's click, any mouse press its mouse-down.
#include "ui/controls/Simple.h"
#include "ui/view/MouseForwarding.h"
#include "ui/view/ViewBinding.h"

#include <QPushButton>

namespace tarvel::ui::view {

class ButtonView : public MouseForwarding<QPushButton> {
public:
    ButtonView(controls::Button& model, platform::MessageSink& sink, QWidget* parent);

private:
    void sync();
    controls::Button& model_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
