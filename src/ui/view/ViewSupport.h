#pragma once
// Conversions and property transfers that every widget showing a control model shares.
#include "ui/controls/Control.h"

#include <QAbstractButton>
#include <QPalette>
#include <QString>
#include <string>
#include <string_view>

class QGroupBox;
class QWidget;

namespace tarvel::ui::view {

// Windows-1251 model text to widget text and back (characters without a code are left out).
QString toQt(std::string_view cp1251);
std::string toCp1251(const QString& text);

QColor toQColor(controls::Color color);
controls::MouseButton toModelButton(Qt::MouseButton button);

// Object name, accessible name (what the control is for and what it shows), tool tip, place in the
// parent, visibility and enabled state.
void applyCommon(QWidget& widget, const controls::Control& model);

// The model's colour on the background role and its font colour on the text role; a default colour
// leaves the role to the parent and the style. The font colour is not used while disabled, so a
// disabled control still looks disabled.
void applyColors(QWidget& widget, const controls::Control& model, QPalette::ColorRole background,
                 QPalette::ColorRole text);
// Everything a check box or radio button shows of its model: caption, mark, the common properties and
// its colours on a background of its own only when it has a colour.
void applyCheckable(QAbstractButton& widget, const controls::Control& model, bool checked);
// Paints a group box flat: an etched frame whose top line runs through the middle of the title, and a
// plain inside, so opaque labels in it do not stand out. For paintEvent.
void paintGroupFrame(QGroupBox& box);

// Draws the style's focus frame inside a passive widget (label, panel) while it has the keyboard focus,
// which it otherwise would not show. For paintEvent, after the widget's own painting.
void paintFocusFrame(QWidget& widget);

// Makes the next applyColors set the palette again, after the widget changed it on its own.
void forgetAppliedColors(QWidget& widget);

} // namespace tarvel::ui::view
