#pragma once
// Shows a Panel model as a raised frame with its caption centred, always filled with its background colour
// (its container's when it has none); clicks and mouse presses on the panel reach the model.
#include "ui/controls/Simple.h"
#include "ui/view/MouseForwarding.h"
#include "ui/view/ViewBinding.h"

#include <QFrame>

namespace tarvel::ui::view {

class PanelView : public MouseForwarding<QFrame> {
public:
    PanelView(controls::Panel& model, platform::MessageSink& sink, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void sync();
    controls::Panel& model_;
    QString caption_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
