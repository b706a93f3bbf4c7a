#include "ui/controls/Control.h"

#include <utility>

namespace tarvel::ui::controls {

Control::Control(std::string name, std::string caption)
    : name_(std::move(name)), caption_(std::move(caption)) {}

namespace {
template <typename T> bool assign(T& field, T value) {
    if (field == value)
        return false;
    field = std::move(value);
    return true;
}
} // namespace

void Control::setVisible(bool visible) {
    if (assign(visible_, visible))
        changed();
}
void Control::setEnabled(bool enabled) {
    if (assign(enabled_, enabled))
        changed();
}
void Control::setLeft(int v) {
    if (assign(left_, v))
        changed();
}
void Control::setTop(int v) {
    if (assign(top_, v))
        changed();
}
void Control::setWidth(int v) {
    if (assign(width_, v))
        changed();
}
void Control::setHeight(int v) {
    if (assign(height_, v))
        changed();
}
void Control::setBounds(int left, int top, int width, int height) {
    bool any = assign(left_, left);
    any = assign(top_, top) || any;
    any = assign(width_, width) || any;
    any = assign(height_, height) || any;
    if (any)
        changed();
}
void Control::setCaption(std::string caption) {
    if (assign(caption_, std::move(caption)))
        changed();
}
void Control::setHint(std::string hint) {
    if (assign(hint_, std::move(hint)))
        changed();
}
void Control::setColor(Color color) {
    if (assign(color_, color))
        changed();
}
void Control::setFontColor(Color color) {
    if (assign(fontColor_, color))
        changed();
}

void Control::click() {
    clicked();
}

void Control::clicked() {
    if (onClick)
        onClick();
}

void Control::mouseDown(MouseButton button) {
    if (onMouseDown)
        onMouseDown(button);
}

void Control::setFocus() {
    changed(ViewChange::Focus);
}

} // namespace tarvel::ui::controls
