#include "ui/view/DeferredIconStyle.h"

#include "ui/view/StyleIconEngine.h"

#include <QApplication>
#include <QStyleFactory>

namespace tarvel::ui::view {

DeferredIconStyle::DeferredIconStyle(QStyle* base) : QProxyStyle(base) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return QIcon(new StyleIconEngine(*baseStyle(), which));
    return QProxyStyle::standardIcon(which, option, widget);
}

void DeferredIconStyle::install() {
    if (QStyle* same = QStyleFactory::create(QApplication::style()->name()))
        QApplication::setStyle(new DeferredIconStyle(same));
}

} // namespace tarvel::ui::view
