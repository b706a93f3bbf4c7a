#include "platform/QtTimer.h"

#include "EventLoopTest.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

namespace tarvel::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start, Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(t - start).count();
}

using QtTimerTest = EventLoopTest;

// The keyer's pattern: each step disables the timer, does its work (here a slow 30 ms), and re-arms it.
// Counting each interval from the previous deadline keeps the work and the wake-up latency out of the sum:
// a chain that counted from the re-arm would end 600 ms late at least.
TEST_F(QtTimerTest, AChainReArmedFromTheHandlerDoesNotDrift) {
    QtTimer timer;
    int fired = 0;
    Clock::time_point last;
    timer.onTimeout = [&] {
        last = Clock::now();
        timer.setEnabled(false);
        std::this_thread::sleep_for(30ms);
        if (++fired < 20) {
            timer.setInterval(50);
            timer.setEnabled(true);
        }
    };
    timer.setInterval(50);
    const auto start = Clock::now();
    timer.setEnabled(true);
    runUntil([&] { return fired == 20; }, 30s);
    ASSERT_EQ(fired, 20);
    EXPECT_GE(msSince(start, last), 1000.0 - 1.0);
    EXPECT_LE(msSince(start, last), 1000.0 + 400.0);
}

TEST_F(QtTimerTest, ItRepeatsEveryIntervalUntilDisabled) {
    QtTimer timer;
    int fired = 0;
    Clock::time_point last;
    timer.onTimeout = [&] {
        last = Clock::now();
        if (++fired == 5)
            timer.setEnabled(false);
    };
    timer.setInterval(30);
    const auto start = Clock::now();
    timer.setEnabled(true);
    runUntil([&] { return fired == 5; }, 30s);
    runFor(100ms); // a timer left enabled would fire again meanwhile
    EXPECT_EQ(fired, 5);
    EXPECT_FALSE(timer.enabled());
    EXPECT_GE(msSince(start, last), 150.0 - 1.0);
    EXPECT_LE(msSince(start, last), 150.0 + 400.0);
}

TEST_F(QtTimerTest, DisablingCancelsThePendingTimeout) {
    QtTimer timer;
    int fired = 0;
    timer.onTimeout = [&] { ++fired; };
    timer.setInterval(50);
    timer.setEnabled(true);
    QTimer::singleShot(20, [&] { timer.setEnabled(false); });
    runFor(150ms);
    EXPECT_EQ(fired, 0);
}

TEST_F(QtTimerTest, ChangingTheIntervalWhileEnabledRestartsFromNow) {
    QtTimer timer;
    Clock::time_point at;
    int fired = 0;
    timer.onTimeout = [&] {
        at = Clock::now();
        ++fired;
        timer.setEnabled(false);
    };
    timer.setInterval(100);
    const auto start = Clock::now();
    timer.setEnabled(true);
    QTimer::singleShot(60, [&] { timer.setInterval(100); });
    runUntil([&] { return fired > 0; }, 30s);
    ASSERT_EQ(fired, 1);
    EXPECT_GE(msSince(start, at), 159.0);
}

TEST_F(QtTimerTest, ALongIntervalIsWaitedInStepsAndFiresOnceOnTime) {
    QtTimer timer(100ms);
    int fired = 0;
    Clock::time_point at;
    timer.onTimeout = [&] {
        at = Clock::now();
        ++fired;
    };
    timer.setInterval(350);
    const auto start = Clock::now();
    timer.setEnabled(true);
    runUntil([&] { return fired > 0; }, 30s);
    timer.setEnabled(false);
    EXPECT_EQ(fired, 1);
    EXPECT_GE(msSince(start, at), 350.0 - 1.0);
    EXPECT_LE(msSince(start, at), 350.0 + 400.0);
}

// After a stall longer than a step the chain starts again from now instead of firing the missed
// intervals back to back.
TEST_F(QtTimerTest, AStalledChainResumesWithoutABurst) {
    QtTimer timer(100ms);
    std::vector<Clock::time_point> at;
    timer.onTimeout = [&] {
        at.push_back(Clock::now());
        if (at.size() == 1)
            std::this_thread::sleep_for(250ms);
        if (at.size() == 3)
            timer.setEnabled(false);
    };
    timer.setInterval(50);
    timer.setEnabled(true);
    runUntil([&] { return at.size() == 3; }, 30s);
    ASSERT_EQ(at.size(), 3u);
    EXPECT_GE(msSince(at[1], at[2]), 45.0);
}

TEST_F(QtTimerTest, AZeroIntervalStillFires) {
    QtTimer timer;
    int fired = 0;
    timer.onTimeout = [&] {
        ++fired;
        timer.setEnabled(false);
    };
    timer.setInterval(0);
    timer.setEnabled(true);
    runUntil([&] { return fired > 0; }, 30s);
    EXPECT_EQ(fired, 1);
}

} // namespace
} // namespace tarvel::platform
