#include "platform/MessageSink.h"

#include "mock/RecordingMessageSink.h"
#include "platform/Failure.h"

#include <gtest/gtest.h>

namespace tarvel::platform {
namespace {

TEST(RunGuarded, ShowsAFailureAndKeepsTheStepsBeforeIt) {
    mock::RecordingMessageSink sink;
    int stepsDone = 0;
    runGuarded(sink, [&] {
        ++stepsDone;
        throw Failure("'abc' is not a valid integer value");
        ++stepsDone;
    });
    EXPECT_EQ(stepsDone, 1);
    EXPECT_EQ(sink.messages, std::vector<std::string>{"'abc' is not a valid integer value"});
}

TEST(RunGuarded, ShowsNothingWhenTheOperationSucceeds) {
    mock::RecordingMessageSink sink;
    bool ran = false;
    runGuarded(sink, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(RunGuarded, PassesUtf8TextThroughUnchanged) {
    mock::RecordingMessageSink sink;
    runGuarded(sink, [] { throw Failure("Ошибка аудиоустройства"); });
    EXPECT_EQ(sink.messages, std::vector<std::string>{"Ошибка аудиоустройства"});
}

} // namespace
} // namespace tarvel::platform
