#pragma once
// Builds the window of a Form model: one widget per control model, in the container its model names,
// and a menu bar when there are menu items. Operator actions reach the models through the message sink,
// which shows any failure.
#include "controls/Control.h"
#include "controls/Simple.h"
#include "platform/MessageSink.h"
#include "ui/view/FormWindow.h"

#include <memory>
#include <vector>

namespace tarvel::ui::view {

class FormView {
public:
    struct Options {
        // The main window's look: a fixed single border with a minimise box and no maximise box.
        bool fixedSingleBorder = false;
    };

    // controls: in creation order, every container before what it holds; a control without a parent
    // (or with the form as parent) sits on the form. The models and the sink must outlive the window.
    // A control whose container comes later, or that no widget can show, is a programming error:
    // std::invalid_argument.
    static std::unique_ptr<FormWindow> build(controls::Form& form,
                                             const std::vector<controls::Control*>& controls,
                                             platform::MessageSink& sink, Options options);
    static std::unique_ptr<FormWindow> build(controls::Form& form,
                                             const std::vector<controls::Control*>& controls,
                                             platform::MessageSink& sink) {
        return build(form, controls, sink, Options{});
    }
};

} // namespace tarvel::ui::view
