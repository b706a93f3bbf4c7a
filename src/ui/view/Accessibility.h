#pragma once
// What assistive technologies (screen readers, AT-SPI clients) read and do on the widgets that show the
// control models: names that carry what a control shows, the roles the controls play, and actions that do
// exactly what the operator's mouse click does.
#include "ui/controls/Control.h"

#include <QString>

class QWidget;

namespace tarvel::ui::view {

// A widget that can take the operator's left click on the accessible interface's request.
class OperatorClick {
public:
    // Whether a click does anything the program sees.
    virtual bool acceptsClick() const = 0;
    // Everything a left press and release over the widget does.
    virtual void clickAsOperator() = 0;

protected:
    ~OperatorClick() = default;
};

// The control's purpose with what it shows ("VFO A output tone, Hz: 30000"); the purpose alone while it
// shows nothing, and the caption without mnemonics when it has no purpose of its own.
QString accessibleNameOf(const controls::Control& model);

// Gives the widget the model's accessible name, announcing a change to assistive technologies.
void applyAccessibleName(QWidget& widget, const controls::Control& model);

// Qt makes a widget's interface on the first accessibility event and keeps it, and such an event may come
// while the widget is still being built, when it is only the toolkit's base class: drops those early ones
// of the window and everything in it, so the next query makes the right ones.
void renewAccessibleInterfaces(QWidget& window);

// Makes the program's windows present themselves as window frames and the widgets showing control models
// through the interfaces above. Once per process; later calls do nothing.
void installAccessibility();

} // namespace tarvel::ui::view
