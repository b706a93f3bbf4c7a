#include "ui/view/ComboFieldView.h"

#include "ui/view/ViewSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QIconEngine>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QStyle>

namespace tarvel::ui::view {
namespace {

// The style's arrow, asked for when a field first draws it: the style finds it through an icon-theme
// lookup (index files, caches, fall-backs) that need not hold up the window's first appearance.
class StyleArrowEngine : public QIconEngine {
public:
    explicit StyleArrowEngine(const QStyle& style) : style_(&style) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        arrow().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return arrow().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return arrow().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return arrow().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return arrow().availableSizes(mode, state);
    }
    QString iconName() override { return arrow().name(); }
    // Never null, so that the field makes room for its button at once; the style always has an arrow.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("StyleArrowEngine"); }
    QIconEngine* clone() const override { return new StyleArrowEngine(*this); }

private:
    const QIcon& arrow() {
        if (!style_.isNull() && arrow_.isNull())
            arrow_ = style_->standardIcon(QStyle::SP_ArrowDown);
        return arrow_;
    }

    QPointer<const QStyle> style_;
    QIcon arrow_;
};

// Every field shows the same arrow, and the lookup runs once for the application, not once per field.
// The icon is let go with the application, whose style drew it.
const QIcon& arrowIcon(const QStyle& style) {
    static QIcon arrow;
    if (arrow.isNull()) {
        arrow = QIcon(new StyleArrowEngine(style));
        qAddPostRoutine([] { arrow = QIcon(); });
    }
    return arrow;
}

} // namespace

ComboFieldView::ComboFieldView(controls::ComboField& model, platform::MessageSink& sink, QWidget* parent)
    : TextFieldView(model, sink, parent), model_(model), list_(new QMenu(this)) {
    list_->setObjectName(QString::fromStdString(model.name()) + QStringLiteral("List"));
    QAction* button = addAction(arrowIcon(*style()), QLineEdit::TrailingPosition);
    button->setText(QStringLiteral("Show the choices"));
    connect(button, &QAction::triggered, this, [this] { openList(); });
}

QMenu* ComboFieldView::openList() {
    operatorAction([this] { model_.dropDown(); });
    list_->clear();
    const auto& entries = model_.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QAction* entry = list_->addAction(toQt(entries[i].shown));
        // The entry the field holds now is marked.
        entry->setCheckable(true);
        entry->setChecked(entries[i].value == model_.text());
        connect(entry, &QAction::triggered, this, [this, i] {
            operatorAction([this, i] { model_.pick(i); });
            end(false); // typing goes on after the picked value
        });
    }
    if (!entries.empty())
        list_->popup(mapToGlobal(rect().bottomLeft()));
    return list_;
}

void ComboFieldView::keyPressEvent(QKeyEvent* event) {
    // Not F4: the function keys recall the memories anywhere in the main window.
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        openList();
        return;
    }
    TextFieldView::keyPressEvent(event);
}

} // namespace tarvel::ui::view
