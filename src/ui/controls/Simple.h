#pragma once
// Controls that add nothing to what every control has: they differ only in how a widget shows them.
#include "ui/controls/Control.h"

namespace tarvel::ui::controls {

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
// A window; its width and height include the frame given by setFrame (none unless set).
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

    // The part of width and height that the window spends on its border, caption and menu bar: the
    // window's own layout commands give outer sizes, while its controls sit in the client area.
    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }
    void setFrame(int width, int height) {
        frameWidth_ = width;
        frameHeight_ = height;
    }
    int clientWidth() const { return width() - frameWidth_; }
    int clientHeight() const { return height() - frameHeight_; }

private:
    int frameWidth_ = 0;
    int frameHeight_ = 0;
};

} // namespace tarvel::ui::controls
