#include "ui/view/FormWindow.h"

#include "ui/view/Accessibility.h"
#include "ui/view/KeyboardReach.h"
#include "ui/view/MouseForwarding.h"
#include "ui/view/ViewSupport.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>

namespace tarvel::ui::view {

FormWindow::FormWindow(controls::Form& model, platform::MessageSink& sink, bool fixedSingleBorder)
    : QWidget(nullptr), model_(model), sink_(sink), fixed_(fixedSingleBorder),
      client_(new MouseForwarding<QWidget>(model, sink, MouseForwarding<QWidget>::Clicks::OnRelease, this)),
      binding_(
          model, [this] { sync(); },
          [this] {
              activateWindow();
              raise();
          }) {
    installAccessibility();
    if (fixed_)
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The inventories' places fit an 8-point font on a 96 dpi screen; a larger desktop font would clip
    // their captions.
    QFont designFont = font();
    designFont.setPixelSize(kDesignFontPixels);
    setFont(designFont);
    client_->setObjectName(QStringLiteral("clientArea"));
    client_->setAutoFillBackground(true);
    sync();
}

FormWindow::~FormWindow() = default;

QMenuBar* FormWindow::ensureMenuBar() {
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        menuBar_->show();
        sync();
    }
    return menuBar_;
}

QWidget* FormWindow::widget(const std::string& name) const {
    if (name == model_.name())
        return const_cast<FormWindow*>(this);
    auto found = widgets_.find(name);
    if (found == widgets_.end()) {
        const auto later = laterNames_.find(name);
        if (later == laterNames_.end())
            return nullptr;
        const_cast<FormWindow*>(this)->buildNow(later->second);
        found = widgets_.find(name);
    }
    return found == widgets_.end() ? nullptr : found->second.data();
}

void FormWindow::buildLater(QWidget& container, const std::vector<std::string>& names,
                            std::function<void()> build) {
    later_[&container] = std::move(build);
    for (const std::string& name : names)
        laterNames_[name] = &container;
}

void FormWindow::buildNow(QWidget* container) {
    const auto found = later_.find(container);
    if (found == later_.end())
        return;
    const std::function<void()> build = std::move(found->second);
    later_.erase(found);
    std::erase_if(laterNames_, [container](const auto& entry) { return entry.second == container; });
    build();
}

QAction* FormWindow::action(const std::string& name) const {
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second.data();
}

void FormWindow::addWidget(const std::string& name, QWidget* widget) {
    widgets_[name] = widget;
}

void FormWindow::addAction(const std::string& name, QAction* action) {
    actions_[name] = action;
}

int FormWindow::menuBarHeight(int width) const {
    if (!menuBar_)
        return 0;
    const int forWidth = menuBar_->heightForWidth(width);
    return forWidth > 0 ? forWidth : menuBar_->sizeHint().height();
}

void FormWindow::sync() {
    setObjectName(QString::fromStdString(model_.name()));
    setWindowTitle(toQt(model_.caption()));
    setToolTip(toQt(model_.hint()));
    setAccessibleName(QString::fromStdString(model_.accessibleName()));
    setEnabled(model_.enabled());
    // A focused control that the new size leaves outside the window hands the focus on to one in sight
    // (the zero-wide focus holder is never in sight and keeps it).
    QWidget* focused = focusWidget();
    const bool focusInSight = focused && focused != this && inSight(*focused);
    // The model's client area, with the menu bar on top of it.
    const QSize size(model_.clientWidth(), model_.clientHeight() + menuBarHeight(model_.clientWidth()));
    if (fixed_)
        setFixedSize(size);
    else if (this->size() != size)
        resize(size);
    placeChildren();
    if (focusInSight && focusWidget() == focused && !inSight(*focused))
        focusNextPrevChild(true);
    applyColors(*client_, model_, QPalette::Window, QPalette::WindowText);
    if (built_)
        setVisible(model_.visible());
}

void FormWindow::finishBuilding() {
    built_ = true;
    sync();
}

void FormWindow::placeChildren() {
    const int bar = menuBarHeight(width());
    if (menuBar_)
        menuBar_->setGeometry(0, 0, width(), bar);
    client_->setGeometry(0, bar, width(), height() - bar);
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChildren();
    const QSize client = client_->size();
    if (client.width() != model_.clientWidth() || client.height() != model_.clientHeight())
        platform::runGuarded(sink_, [this, client] {
            model_.resized(client.width() + model_.frameWidth(), client.height() + model_.frameHeight());
        });
}

void FormWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        platform::runGuarded(sink_, [this] { model_.hide(); });
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    if (closesOnEscape_ && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FormWindow::focusNextPrevChild(bool next) {
    QWidget* focus = focusWidget();
    if (!focus)
        focus = this;
    // The toolkit asks here too when the focused control is hidden: a control shown in its place (the
    // other of two switches sharing a place) takes the focus over.
    if (focus != this && !focus->isVisible()) {
        if (QWidget* replacement = standIn(*focus)) {
            replacement->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    QWidget* stop = nextTabStop(*focus, next);
    if (!stop)
        return false;
    stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

} // namespace tarvel::ui::view
