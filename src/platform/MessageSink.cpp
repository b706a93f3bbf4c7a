#include "platform/MessageSink.h"

#include "platform/Failure.h"

namespace tarvel::platform {

void runGuarded(MessageSink& sink, const std::function<void()>& operation) {
    try {
        operation();
    } catch (const Failure& failure) {
        sink.show(failure.what());
    }
}

} // namespace tarvel::platform
