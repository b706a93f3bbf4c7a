#pragma once
// The program's message sink: each failure text in a plain message box over the active window.
// Called on the user-interface thread only.
#include "platform/MessageSink.h"

namespace tarvel::ui::view {

class QMessageBoxSink : public platform::MessageSink {
public:
    void show(const std::string& text) override;
};

} // namespace tarvel::ui::view
