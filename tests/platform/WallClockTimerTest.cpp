#include "platform/WallClockTimer.h"

#include "EventLoopTest.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tarvel::platform {
namespace {

using namespace std::chrono_literals;
using Clock = WallClockTimer::Clock;

double msSince(Clock::time_point start, Clock::time_point t) {
    return (t - start) / 1.0ms;
}

using WallClockTimerTest = EventLoopTest;

// The bounds are generous: only lateness of a scheduling hiccup's size is tolerated, never earliness.
TEST_F(WallClockTimerTest, StartAtFiresAtTheAbsoluteTimeAndRepeatsEveryIntervalAfterIt) {
    WallClockTimer timer;
    std::vector<Clock::time_point> at;
    timer.onTimeout = [&] {
        at.push_back(Clock::now());
        if (at.size() == 3)
            timer.setEnabled(false);
    };
    timer.setInterval(40);
    const auto target = Clock::now() + 100ms;
    timer.startAt(target);
    EXPECT_TRUE(timer.enabled() && timer.deadline() == target);
    runUntil([&] { return at.size() == 3; }, 1s);
    ASSERT_EQ(at.size(), 3u);
    EXPECT_GE(msSince(target, at[0]), 0.0);
    EXPECT_LE(msSince(target, at[0]), 20.0);
    EXPECT_GE(msSince(target, at[2]), 80.0);
    EXPECT_LE(msSince(target, at[2]), 100.0);
}

// The keyer's pattern: each step disables the timer, does slow work and re-arms it; the handler's own
// nested event loop (a message box) must not break the chain either.
TEST_F(WallClockTimerTest, AChainReArmedFromTheHandlerDoesNotDrift) {
    WallClockTimer timer;
    int fired = 0, firedNested = 0;
    QEventLoop nested;
    Clock::time_point last;
    timer.onTimeout = [&] {
        last = Clock::now();
        firedNested += nested.isRunning() ? 1 : 0;
        if (++fired == 10) { // left armed: the next two timeouts come inside the nested loop
            QTimer::singleShot(120, &nested, &QEventLoop::quit);
            nested.exec();
            return;
        }
        timer.setEnabled(false);
        std::this_thread::sleep_for(5ms);
        if (fired < 20) {
            timer.setInterval(50);
            timer.setEnabled(true);
        }
    };
    timer.setInterval(50);
    const auto start = Clock::now();
    timer.setEnabled(true);
    runUntil([&] { return fired == 20; }, 3s);
    ASSERT_EQ(fired, 20);
    EXPECT_EQ(firedNested, 2);
    EXPECT_GE(msSince(start, last), 1000.0);
    EXPECT_LE(msSince(start, last), 1000.0 + 30.0);
}

// A transmission started from another timer's handler times its first step from the ideal start.
TEST_F(WallClockTimerTest, CountNextFromAppliesToOneEnablingOutsideTheHandler) {
    WallClockTimer timer;
    Clock::time_point at;
    timer.onTimeout = [&] {
        at = Clock::now();
        timer.setEnabled(false);
    };
    timer.setInterval(50);
    const auto base = Clock::now() - 30ms;
    timer.countNextFrom(base);
    timer.setEnabled(true);
    EXPECT_EQ(timer.deadline(), base + 50ms);
    runUntil([&] { return !timer.enabled(); }, 1s);
    EXPECT_GE(msSince(base, at), 50.0);
    EXPECT_LE(msSince(base, at), 70.0);

    const auto before = Clock::now();
    timer.setEnabled(true); // the base was used up: from now again
    EXPECT_GE(timer.deadline(), before + 50ms);
}

TEST_F(WallClockTimerTest, DisablingCancelsThePendingTimeout) {
    WallClockTimer timer;
    int fired = 0;
    timer.onTimeout = [&] { ++fired; };
    timer.startAt(Clock::now() + 50ms);
    QTimer::singleShot(20, [&] { timer.setEnabled(false); });
    runUntil([] { return false; }, 150ms);
    EXPECT_EQ(fired, 0);
}

} // namespace
} // namespace tarvel::platform
