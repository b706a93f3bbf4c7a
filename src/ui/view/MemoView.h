#pragma once
// Shows a Memo model as a QPlainTextEdit, read-only or editable, with the model's scroll bars; the
// operator's edits reach the model's lines.
#include "platform/MessageSink.h"
#include "ui/controls/Memo.h"
#include "ui/view/ViewBinding.h"

#include <QPlainTextEdit>

namespace tarvel::ui::view {

class MemoView : public QPlainTextEdit {
public:
    MemoView(controls::Memo& model, platform::MessageSink& sink, QWidget* parent);

private:
    void sync();
    controls::Memo& model_;
    platform::MessageSink& sink_;
    bool showingModel_ = false;
    std::uint64_t shownGeneration_ = ~std::uint64_t{0};
    std::size_t shownLines_ = 0;
    ViewBinding binding_;
};

} // namespace tarvel::ui::view
