#pragma once
// Shows a GroupBox model as a QGroupBox holding the widgets of the controls inside it, always filled with
// its background colour (its container's when it has none).
#include "ui/controls/Simple.h"
#include "ui/view/MouseForwarding.h"
#include "ui/view/ViewBinding.h"

#include <QGroupBox>

namespace tarvel::ui::view {

class GroupBoxView : public MouseForwarding<QGroupBox> {
public:
    GroupBoxView(controls::GroupBox& model, platform::MessageSink& sink, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void sync();
    controls::GroupBox& model_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
