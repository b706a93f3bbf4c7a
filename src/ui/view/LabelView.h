#pragma once
// Shows a Label model as a QLabel filling its place with its colour (its container's when it has none);
// its clicks and mouse presses reach the model.
#include "ui/controls/Simple.h"
#include "ui/view/MouseForwarding.h"
#include "ui/view/ViewBinding.h"

#include <QLabel>

namespace tarvel::ui::view {

class LabelView : public MouseForwarding<QLabel> {
public:
    LabelView(controls::Label& model, platform::MessageSink& sink, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void sync();
    controls::Label& model_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
