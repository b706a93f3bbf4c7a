#include "ui/view/MemoView.h"

#include "ui/view/ViewSupport.h"

#include <QScrollBar>

namespace tarvel::ui::view {

MemoView::MemoView(controls::Memo& model, platform::MessageSink& sink, QWidget* parent)
    : QPlainTextEdit(parent), model_(model), sink_(sink),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (showingModel_)
            return;
        std::vector<std::string> lines;
        const QString text = toPlainText();
        if (!text.isEmpty())
            for (const QString& line : text.split(QLatin1Char('\n')))
                lines.push_back(toCp1251(line));
        platform::runGuarded(sink_, [this, &lines] { model_.edited(std::move(lines)); });
    });
    sync();
}

void MemoView::sync() {
    QStringList lines;
    for (const std::string& line : model_.lines())
        lines.push_back(toQt(line));
    const QString text = lines.join(QLatin1Char('\n'));
    const QString shown = toPlainText();
    if (text != shown) {
        showingModel_ = true;
        // Lines added at the end (a trace) keep the newest line in view; anything else starts at the top.
        if (!shown.isEmpty() && text.startsWith(shown + QLatin1Char('\n'))) {
            appendPlainText(text.mid(shown.size() + 1));
        } else {
            setPlainText(text);
        }
        showingModel_ = false;
    }
    setReadOnly(model_.readOnly());
    using controls::MemoScrollBars;
    const MemoScrollBars bars = model_.scrollBars();
    const bool horizontal = bars == MemoScrollBars::Horizontal || bars == MemoScrollBars::Both;
    const bool vertical = bars == MemoScrollBars::Vertical || bars == MemoScrollBars::Both;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    applyCommon(*this, model_);
    applyColors(*this, model_, QPalette::Base, QPalette::Text);
}

} // namespace tarvel::ui::view
