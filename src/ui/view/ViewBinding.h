#pragma once
// Ties a control model to the widget showing it: the model's changes reach the widget for as long as the
// widget lives, and no longer (a model may outlive its window).
#include "ui/controls/Control.h"

#include <functional>
#include <utility>

namespace tarvel::ui::view {

class ViewBinding {
public:
    // sync shows the model's whole state; focus gives the widget the keyboard focus.
    ViewBinding(controls::Control& model, std::function<void()> sync, std::function<void()> focus)
        : model_(model) {
        model_.setViewListener([sync = std::move(sync), focus = std::move(focus)](controls::ViewChange what) {
            if (what == controls::ViewChange::Focus)
                focus();
            else
                sync();
        });
    }
    ~ViewBinding() { model_.setViewListener({}); }
    ViewBinding(const ViewBinding&) = delete;
    ViewBinding& operator=(const ViewBinding&) = delete;

private:
    controls::Control& model_;
};

} // namespace tarvel::ui::view
