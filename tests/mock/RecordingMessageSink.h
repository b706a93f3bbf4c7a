#pragma once
// Records the texts a message box would have shown.
#include <string>
#include <vector>

#include "platform/MessageSink.h"

namespace tarvel::mock {

class RecordingMessageSink : public platform::MessageSink {
public:
    void show(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

} // namespace tarvel::mock
