#pragma once
// The application's style behind a proxy that hands out the menu bar's overflow arrows as icons asked of
// the style when first drawn: every menu bar builds its overflow button at once, and reading the arrows'
// image files loads every image-format plug-in before the window could show.
#include <QProxyStyle>

namespace tarvel::ui::view {

class DeferredIconStyle : public QProxyStyle {
public:
    // Takes base, which draws everything else as before.
    explicit DeferredIconStyle(QStyle* base);

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

    // Puts the application's style behind the proxy; before any widget is built. A style the factory
    // cannot make again is left as it is.
    static void install();
};

} // namespace tarvel::ui::view
