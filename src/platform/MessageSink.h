#pragma once
// Where every failure an operator must see goes: a message box in the program, a recorder in tests.
// Called on the user-interface thread only.
#include <functional>
#include <string>

namespace tarvel::platform {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // text: UTF-8, shown as it stands.
    virtual void show(const std::string& text) = 0;
};

// Runs one operation started by the operator or a timer; a Failure it raises is shown, not propagated,
// so the steps done before it stay done.
void runGuarded(MessageSink& sink, const std::function<void()>& operation);

} // namespace tarvel::platform
