#pragma once
// Shows a TextField model as a QLineEdit: the operator's typing goes through the model (upper case and
// change handler) and the model's text comes back without moving the cursor; leaving the field tells
// the model.
#include "controls/TextField.h"
#include "platform/MessageSink.h"
#include "ui/view/ViewBinding.h"

#include <QLineEdit>

namespace tarvel::ui::view {

class TextFieldView : public QLineEdit {
public:
    TextFieldView(controls::TextField& model, platform::MessageSink& sink, QWidget* parent);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Runs an operator action on the model and shows the outcome, even when a handler failed midway.
    void operatorAction(const std::function<void()>& action);
    void sync();

private:
    controls::TextField& model_;
    platform::MessageSink& sink_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
