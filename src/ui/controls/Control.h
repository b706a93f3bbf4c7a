#pragma once
// What every control of a window has in common, without any widget toolkit: name, place, visibility,
// caption, colours and click events. A widget that shows the control listens for its changes.
#include <cstdint>
#include <functional>
#include <string>

namespace tarvel::ui::controls {

// Platform colour number: lowest byte red, then green, then blue.
using Color = std::uint32_t;
constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr Color kDefaultColor = 0xFFFFFFFFu; // the toolkit's own colour for that kind of control

enum class MouseButton { Left, Right, Middle };
enum class ViewChange { Properties, Focus };

class Control {
public:
    explicit Control(std::string name, std::string caption = {});
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }

    // The container that holds this control on its window (nullptr for a window).
    Control* parent() const { return parent_; }
    void setParent(Control& parent) { parent_ = &parent; }

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);
    void setBounds(int left, int top, int width, int height);

    // Caption, Windows-1251.
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& hint() const { return hint_; }
    void setHint(std::string hint);
    // What the control is for (UTF-8). Screen readers announce it with what the control shows.
    const std::string& accessibleName() const { return accessibleName_; }
    void setAccessibleName(std::string name) { accessibleName_ = std::move(name); }

    Color color() const { return color_; }
    void setColor(Color color);
    Color fontColor() const { return fontColor_; }
    void setFontColor(Color color);

    // Operator actions, also callable by the program where one operation reuses another's handler.
    void click();
    void mouseDown(MouseButton button);
    std::function<void()> onClick;
    std::function<void(MouseButton)> onMouseDown;

    // Asks the view to give this control the keyboard focus.
    void setFocus();

    // The widget showing this control; told after every change it must show.
    void setViewListener(std::function<void(ViewChange)> listener) { view_ = std::move(listener); }
    const std::function<void(ViewChange)>& viewListener() const { return view_; }

protected:
    void changed(ViewChange what = ViewChange::Properties) {
        if (view_)
            view_(what);
    }
    virtual void clicked();

private:
    std::string name_;
    std::string caption_;
    std::string hint_;
    std::string accessibleName_;
    bool visible_ = true;
    bool enabled_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    Color color_ = kDefaultColor;
    Color fontColor_ = kDefaultColor;
    std::function<void(ViewChange)> view_;
    Control* parent_ = nullptr;
};

} // namespace tarvel::ui::controls
