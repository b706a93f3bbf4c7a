#include "ui/view/ViewSupport.h"

#include "platform/Cp1251.h"
#include "ui/view/Accessibility.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVariant>
#include <QWidget>
#include <qdrawutil.h>

namespace tarvel::ui::view {

QString toQt(std::string_view cp1251) {
    return QString::fromStdString(platform::cp1251ToUtf8(cp1251));
}

std::string toCp1251(const QString& text) {
    return platform::utf8ToCp1251(text.toStdString());
}

QColor toQColor(controls::Color color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

controls::MouseButton toModelButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return controls::MouseButton::Right;
    case Qt::MiddleButton:
        return controls::MouseButton::Middle;
    default:
        return controls::MouseButton::Left;
    }
}

namespace {
constexpr const char* kAppliedColors = "tarvelAppliedColors";
} // namespace

void applyCommon(QWidget& widget, const controls::Control& model) {
    const QString name = QString::fromStdString(model.name());
    if (widget.objectName() != name)
        widget.setObjectName(name);
    applyAccessibleName(widget, model);
    widget.setToolTip(toQt(model.hint()));
    const QRect place(model.left(), model.top(), model.width(), model.height());
    if (widget.geometry() != place)
        widget.setGeometry(place);
    widget.setEnabled(model.enabled());
    widget.setVisible(model.visible());
}

void applyColors(QWidget& widget, const controls::Control& model, QPalette::ColorRole background,
                 QPalette::ColorRole text) {
    // Models change often (a tuning step touches several): set the palette only when a colour changed.
    const QVariant applied = QVariant::fromValue((qulonglong{model.color()} << 32) | model.fontColor());
    if (widget.property(kAppliedColors) == applied)
        return;
    widget.setProperty(kAppliedColors, applied);
    // A palette with nothing set inherits every role from the parent: a control takes its parent's
    // colour unless given its own.
    QPalette palette;
    palette.setResolveMask(0);
    if (model.color() != controls::kDefaultColor)
        palette.setColor(background, toQColor(model.color()));
    if (model.fontColor() != controls::kDefaultColor) {
        palette.setColor(QPalette::Active, text, toQColor(model.fontColor()));
        palette.setColor(QPalette::Inactive, text, toQColor(model.fontColor()));
    }
    widget.setPalette(palette);
}

void paintGroupFrame(QGroupBox& box) {
    QPainter painter(&box);
    const QString title = box.title();
    const QFontMetrics metrics = box.fontMetrics();
    const int top = title.isEmpty() ? 0 : metrics.height() / 2;
    const QRect frame = box.rect().adjusted(0, top, 0, 0);
    qDrawShadeRect(&painter, frame, box.palette(), true, 1, 0);
    if (title.isEmpty())
        return;
    constexpr int kTitleIndent = 8;
    constexpr int kTitlePadding = 2;
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    const QRect text(kTitleIndent, 0, metrics.size(flags, title).width() + 2 * kTitlePadding,
                     metrics.height());
    painter.fillRect(text, box.palette().brush(QPalette::Window));
    box.style()->drawItemText(&painter, text.adjusted(kTitlePadding, 0, -kTitlePadding, 0), flags,
                              box.palette(), box.isEnabled(), title, QPalette::WindowText);
}

void paintFocusFrame(QWidget& widget) {
    if (!widget.hasFocus())
        return;
    QPainter painter(&widget);
    QStyleOptionFocusRect option;
    option.initFrom(&widget);
    option.backgroundColor = widget.palette().color(QPalette::Window);
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &widget);
}

void forgetAppliedColors(QWidget& widget) {
    widget.setProperty(kAppliedColors, QVariant());
}

void applyCheckable(QAbstractButton& widget, const controls::Control& model, bool checked) {
    widget.setText(toQt(model.caption()));
    widget.setChecked(checked);
    applyCommon(widget, model);
    widget.setAutoFillBackground(model.color() != controls::kDefaultColor);
    applyColors(widget, model, QPalette::Window, QPalette::WindowText);
}

} // namespace tarvel::ui::view
