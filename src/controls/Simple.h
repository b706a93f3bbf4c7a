#pragma once
// Controls that add nothing to what every control has: they differ only in how a widget shows them.
#include "controls/Control.h"

namespace tarvel::controls {

class Label : public Control {
    using Control::Control;
};
class Button : public Control {
    using Control::Control;
};
// A panel or group box: a container with a caption and a colour.
class Panel : public Control {
    using Control::Control;
};
// A framed container with its caption on the frame.
class GroupBox : public Control {
    using Control::Control;
};
// A menu entry; one whose parent is the window sits on the menu bar, one whose parent is another menu
// item sits in that item's drop-down.
class MenuItem : public Control {
    using Control::Control;
};
// A window; its width and height are the client area.
class Form : public Control {
public:
    using Control::Control;
    // The operator (or the window system) gave the client area a new size; the program's own size
    // changes do not come back through here.
    void resized(int width, int height) {
        setBounds(left(), top(), width, height);
        if (onResize)
            onResize();
    }
    std::function<void()> onResize;
};

} // namespace tarvel::controls
