#pragma once
// Records the texts a message box would have shown.
#include "platform/MessageSink.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvel::mock {

class RecordingMessageSink : public platform::MessageSink {
public:
    void show(const std::string& text) override {
        messages.push_back(text);
        if (onShow)
            onShow(text);
    }
    std::vector<std::string> messages;
    // Runs while the box would be open, to look at the program's state at that moment.
    std::function<void(const std::string&)> onShow;
};

} // namespace tarvel::mock
