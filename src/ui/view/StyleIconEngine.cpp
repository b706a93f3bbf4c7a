#include "ui/view/StyleIconEngine.h"

namespace tarvel::ui::view {

StyleIconEngine::StyleIconEngine(const QStyle& style, QStyle::StandardPixmap which)
    : style_(&style), which_(which) {}

void StyleIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize StyleIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return icon().actualSize(size, mode, state);
}

QPixmap StyleIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return icon().pixmap(size, mode, state);
}

QPixmap StyleIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) {
    return icon().pixmap(size, scale, mode, state);
}

QList<QSize> StyleIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return icon().availableSizes(mode, state);
}

QString StyleIconEngine::iconName() {
    return icon().name();
}

const QIcon& StyleIconEngine::icon() {
    if (!style_.isNull() && icon_.isNull())
        icon_ = style_->standardIcon(which_);
    return icon_;
}

} // namespace tarvel::ui::view
