#include "platform/PreciseEdgeTimer.h"

#include "EventLoopTest.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tarvel::platform {
namespace {

using namespace std::chrono_literals;
using Clock = PreciseEdgeTimer::Clock;

class PreciseEdgeTimerTest : public EventLoopTest {};

// The action runs once, on the waiting thread, before its timeout reaches the handler; the repeats after it
// carry none. A disabled timer takes no action, and disabling drops one handed over.
TEST_F(PreciseEdgeTimerTest, AnActionRunsOnceOnTheWaitingThreadBeforeItsTimeout) {
    PreciseEdgeTimer timer;
    std::atomic<int> actions{0};
    std::thread::id actedOn;
    std::vector<int> actionsAtTimeouts;
    timer.onTimeout = [&] {
        actionsAtTimeouts.push_back(actions.load());
        if (actionsAtTimeouts.size() == 3)
            timer.setEnabled(false);
    };
    EXPECT_FALSE(timer.actAtDeadline([&] { ++actions; }));
    timer.setInterval(20);
    timer.setEnabled(true);
    ASSERT_TRUE(timer.actAtDeadline([&] {
        actedOn = std::this_thread::get_id();
        ++actions;
    }));
    runUntil([&] { return actionsAtTimeouts.size() == 3; }, 5s);
    EXPECT_EQ(actionsAtTimeouts, (std::vector{1, 1, 1}));
    EXPECT_NE(actedOn, std::this_thread::get_id());

    timer.setInterval(10000); // far enough that only the calls below decide
    timer.setEnabled(true);
    ASSERT_TRUE(timer.actAtDeadline([&] { ++actions; }));
    timer.setEnabled(false); // Stop TX: once this returns, the edge must never come
    timer.setEnabled(true);
    ASSERT_TRUE(timer.actAtDeadline([&] { ++actions; }));
    timer.setInterval(30); // re-armed: the action was for the deadline that went away
    actionsAtTimeouts.clear();
    runUntil([&] { return actionsAtTimeouts.size() == 3; }, 5s);
    EXPECT_EQ(actionsAtTimeouts, (std::vector{1, 1, 1}));
}

// Start TX times the first interval from the PTT; the anchor serves one enabling only.
TEST_F(PreciseEdgeTimerTest, AnAnchoredStartCountsFromTheAnchorOnce) {
    PreciseEdgeTimer timer;
    timer.setInterval(1000);
    const auto before = Clock::now();
    timer.anchorNextStart();
    const auto after = Clock::now();
    std::this_thread::sleep_for(5ms);
    timer.setEnabled(true);
    EXPECT_GE(timer.deadline(), before + 1s);
    EXPECT_LE(timer.deadline(), after + 1s);
    timer.setEnabled(false);
    const auto again = Clock::now();
    timer.setEnabled(true);
    EXPECT_GE(timer.deadline(), again + 1s);
    timer.setEnabled(false);
}

} // namespace
} // namespace tarvel::platform
