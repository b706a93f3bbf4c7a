#include "ui/view/MemoView.h"

#include "ui/view/ViewSupport.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace tarvel::ui::view {

MemoView::MemoView(controls::Memo& model, platform::MessageSink& sink, QWidget* parent)
    : QPlainTextEdit(parent), model_(model), sink_(sink),
      binding_(
          model, [this] { sync(); }, [this] { setFocus(Qt::OtherFocusReason); }) {
    // Tab leaves the box instead of typing into it: no memo here holds tabulated text, and a box that
    // swallows Tab would keep a keyboard operator in it for good.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (showingModel_)
            return;
        std::vector<std::string> lines;
        const QString text = toPlainText();
        if (!text.isEmpty())
            for (const QString& line : text.split(QLatin1Char('\n')))
                lines.push_back(toCp1251(line));
        platform::runGuarded(sink_, [this, &lines] { model_.edited(std::move(lines)); });
        shownGeneration_ = model_.generation();
        shownLines_ = model_.lines().size();
    });
    sync();
}

void MemoView::sync() {
    const auto& lines = model_.lines();
    // Lines added at the end (a trace) are appended and keep the newest line in view; anything else is
    // shown anew from the top.
    if (model_.generation() != shownGeneration_ || lines.size() < shownLines_) {
        QStringList all;
        for (const std::string& line : lines)
            all.push_back(toQt(line));
        showingModel_ = true;
        setPlainText(all.join(QLatin1Char('\n')));
        showingModel_ = false;
    } else if (lines.size() > shownLines_ && model_.keepsLastLine() && shownLines_ > 0) {
        // The new lines went in before the last one, which the widget holds as its last block.
        QString added;
        for (std::size_t i = shownLines_ - 1; i + 1 < lines.size(); ++i) {
            added += toQt(lines[i]);
            added += QLatin1Char('\n');
        }
        QTextCursor cursor(document()->lastBlock());
        cursor.movePosition(QTextCursor::StartOfBlock);
        showingModel_ = true;
        cursor.insertText(added);
        showingModel_ = false;
    } else if (lines.size() > shownLines_) {
        showingModel_ = true;
        for (std::size_t i = shownLines_; i < lines.size(); ++i) {
            if (i == 0)
                setPlainText(toQt(lines[i]));
            else
                appendPlainText(toQt(lines[i]));
        }
        showingModel_ = false;
    }
    shownGeneration_ = model_.generation();
    shownLines_ = lines.size();
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
