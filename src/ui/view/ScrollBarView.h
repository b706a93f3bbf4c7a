#pragma once
// Shows a ScrollBar model as a horizontal QScrollBar: every operator action (arrows, page clicks, keys,
// wheel, dragging) hands the position the bar wants to the model, which clamps it and runs its handler;
// the model's own changes move the bar without calling back. As a stand-alone bar, it takes the focus,
// and Left/Up, Right/Down, Page Up/Down, Home and End move it.
#include "platform/MessageSink.h"
#include "ui/controls/ScrollBar.h"
#include "ui/view/ViewBinding.h"

#include <QScrollBar>

namespace tarvel::ui::view {

class ScrollBarView : public QScrollBar {
public:
    ScrollBarView(controls::ScrollBar& model, platform::MessageSink& sink, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void sync();
    controls::ScrollBar& model_;
    platform::MessageSink& sink_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
