#include "ui/view/ComboFieldView.h"

#include "ui/view/StyleIconEngine.h"
#include "ui/view/ViewSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>

namespace tarvel::ui::view {
namespace {

// Every field shows the same arrow, and the lookup runs once for the application, not once per field.
// The icon is let go with the application, whose style drew it.
const QIcon& arrowIcon(const QStyle& style) {
    static QIcon arrow;
    if (arrow.isNull()) {
        arrow = QIcon(new StyleIconEngine(style, QStyle::SP_ArrowDown));
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
