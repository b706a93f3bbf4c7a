#pragma once
// Shows a SpinField model as a line edit with small up and down buttons on its right: the buttons and
// the Up and Down keys step the model, and only the characters the model accepts can be typed.
#include "ui/controls/SpinField.h"
#include "ui/view/TextFieldView.h"

#include <QToolButton>

namespace tarvel::ui::view {

class SpinFieldView : public TextFieldView {
public:
    SpinFieldView(controls::SpinField& model, platform::MessageSink& sink, QWidget* parent);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    controls::SpinField& spin_;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace tarvel::ui::view
