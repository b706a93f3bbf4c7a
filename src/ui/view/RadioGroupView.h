#pragma once
// Shows a RadioGroup model as a QGroupBox with one radio button per item, top to bottom; the operator's
// click on an item sets the model's item index.
#include "ui/controls/RadioGroup.h"
#include "ui/view/MouseForwarding.h"
#include "ui/view/ViewBinding.h"

#include <QGroupBox>
#include <QRadioButton>
#include <vector>

namespace tarvel::ui::view {

class RadioGroupView : public MouseForwarding<QGroupBox> {
public:
    RadioGroupView(controls::RadioGroup& model, platform::MessageSink& sink, QWidget* parent);

    const std::vector<QRadioButton*>& buttons() const { return buttons_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void sync();
    controls::RadioGroup& model_;
    std::vector<QRadioButton*> buttons_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
