#pragma once
// Shows a ComboField model as a line edit with a drop-down button: the button (or Alt+Down) asks the
// model to refresh its entries and opens them as a menu; picking one goes through the model.
#include "ui/controls/ComboField.h"
#include "ui/view/TextFieldView.h"

class QMenu;

namespace tarvel::ui::view {

class ComboFieldView : public TextFieldView {
public:
    ComboFieldView(controls::ComboField& model, platform::MessageSink& sink, QWidget* parent);

    // Opens the list below the field; the menu shown, for tests.
    QMenu* openList();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    controls::ComboField& model_;
    QMenu* list_;
};

} // namespace tarvel::ui::view
