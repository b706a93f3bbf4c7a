#pragma once
// Builds the window of a Form model: one widget per control model, in the container its model names,
// drawn in the control's style, and a menu bar when there are menu items. Operator actions reach the
// models through the message sink, which shows any failure.
#include "platform/MessageSink.h"
#include "ui/controls/Control.h"
#include "ui/controls/Simple.h"
#include "ui/forms/Inventory.h"
#include "ui/forms/StyleTable.h"
#include "ui/view/FormWindow.h"

#include <memory>
#include <vector>

namespace tarvel::ui::view {

class FormView {
public:
    struct Options {
        // The main window's look: a fixed single border with a minimise box and no maximise box.
        bool fixedSingleBorder = false;
        // Fonts, frames and text lengths of the controls, and a fixed size of the window itself (which
        // gives it the fixed single border too); nullptr draws everything the toolkit's way. The table
        // is read while building only.
        const forms::StyleTable* styles = nullptr;
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
    // The window of an inventory, in the inventory's styles.
    static std::unique_ptr<FormWindow> build(const forms::Inventory& inventory, platform::MessageSink& sink) {
        return build(inventory.window(), inventory.all(), sink, Options{.styles = &inventory.styles});
    }
};

} // namespace tarvel::ui::view
