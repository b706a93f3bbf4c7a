#pragma once
// Shows a MenuItem model as a QAction (for an item with children, the action of its drop-down menu);
// triggering the action runs the model's click. The caption shows with a mnemonic on the given letter
// (none for a null letter). Lives as a child of the action.
#include "platform/MessageSink.h"
#include "ui/controls/Simple.h"
#include "ui/view/ViewBinding.h"

#include <QAction>
#include <QObject>

namespace tarvel::ui::view {

class MenuItemView : public QObject {
public:
    MenuItemView(controls::MenuItem& model, platform::MessageSink& sink, QAction& action, QChar mnemonic);

private:
    void sync();
    controls::MenuItem& model_;
    platform::MessageSink& sink_;
    QAction& action_;
    QChar mnemonic_;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
