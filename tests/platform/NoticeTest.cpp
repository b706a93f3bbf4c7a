#include "platform/Notice.h"

#include <gtest/gtest.h>
#include <string>

namespace tarvel::platform {
namespace {

TEST(Notice, TellsEveryListenerInTheOrderTheyConnected) {
    Notice<int, std::string> changed;
    EXPECT_FALSE(changed.connected());
    changed(1, "nobody listens");
    std::vector<std::string> heard;
    changed.connect([&](int n, const std::string& text) { heard.push_back("a" + std::to_string(n) + text); });
    changed.connect([&](int n, const std::string& text) { heard.push_back("b" + std::to_string(n) + text); });
    changed(2, "x");
    EXPECT_TRUE(changed.connected());
    EXPECT_EQ(heard, (std::vector<std::string>{"a2x", "b2x"}));
}

} // namespace
} // namespace tarvel::platform
