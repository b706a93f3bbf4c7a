#include "ui/view/MenuItemView.h"

#include "ui/view/KeyboardReach.h"
#include "ui/view/ViewSupport.h"

#include <QMenu>

namespace tarvel::ui::view {

MenuItemView::MenuItemView(controls::MenuItem& model, platform::MessageSink& sink, QAction& action,
                           QChar mnemonic)
    : QObject(&action), model_(model), sink_(sink), action_(action), mnemonic_(mnemonic),
      binding_(
          model, [this] { sync(); }, [] {}) {
    action_.setObjectName(QString::fromStdString(model_.name()));
    connect(&action_, &QAction::triggered, this,
            [this] { platform::runGuarded(sink_, [this] { model_.click(); }); });
    sync();
}

void MenuItemView::sync() {
    // A caption of a single "-" is a separator line.
    action_.setSeparator(model_.caption() == "-");
    const QString caption = withMnemonic(toQt(model_.caption()), mnemonic_);
    action_.setText(caption);
    if (QMenu* menu = action_.menu())
        menu->setTitle(caption);
    action_.setToolTip(toQt(model_.hint()));
    action_.setEnabled(model_.enabled());
    action_.setVisible(model_.visible());
}

} // namespace tarvel::ui::view
