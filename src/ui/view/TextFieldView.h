#pragma once
// Shows a TextField model as a QLineEdit: the operator's typing goes through the model (upper case and
// change handler) and the model's text comes back without moving the cursor; leaving the field tells
// the model. A field may be drawn borderless in its container's colour and may limit what is typed.
#include "platform/MessageSink.h"
#include "ui/controls/TextField.h"
#include "ui/view/ViewBinding.h"

#include <QLineEdit>

namespace tarvel::ui::view {

class TextFieldView : public QLineEdit {
public:
    TextFieldView(controls::TextField& model, platform::MessageSink& sink, QWidget* parent);

    // No frame, and the container's colour behind the text unless the model has a colour of its own.
    void setBorderless(bool borderless);
    bool borderless() const { return borderless_; }
    // The most characters the operator can type or paste (0: no limit). Unlike QLineEdit's maxLength
    // it never cuts a text the program sets, and never stops a too long text from being shortened.
    void limitTyping(int characters);
    int typingLimit() const { return typingLimit_; }

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Runs an operator action on the model and shows the outcome, even when a handler failed midway.
    void operatorAction(const std::function<void()>& action);
    void sync();

private:
    controls::TextField& model_;
    platform::MessageSink& sink_;
    bool borderless_ = false;
    int typingLimit_ = 0;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
