#pragma once
// One of the style's standard icons, asked of the style only when it is first drawn or measured: the
// style finds its icons through icon-theme lookups and image files, whose reading (and the image-format
// plug-ins it loads) need not hold up the window's first appearance.
#include <QIcon>
#include <QIconEngine>
#include <QPointer>
#include <QStyle>

namespace tarvel::ui::view {

class StyleIconEngine : public QIconEngine {
public:
    StyleIconEngine(const QStyle& style, QStyle::StandardPixmap which);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString iconName() override;
    // Never null, so that a widget makes room for the icon at once: only icons the style always has are
    // deferred.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("StyleIconEngine"); }
    QIconEngine* clone() const override { return new StyleIconEngine(*this); }

private:
    const QIcon& icon();

    QPointer<const QStyle> style_;
    QStyle::StandardPixmap which_;
    QIcon icon_;
};

} // namespace tarvel::ui::view
