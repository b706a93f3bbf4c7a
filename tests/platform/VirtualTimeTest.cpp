#include "platform/VirtualTime.h"

#include <gtest/gtest.h>

namespace tarvel::platform {
namespace {

using Fires = std::vector<std::pair<char, std::int64_t>>;

TEST(VirtualTime, TimersFireInDeadlineOrderAtTheirDeadlines) {
    VirtualTime time;
    Fires fires;
    auto slow = time.makeTimer();
    auto fast = time.makeTimer();
    slow->onTimeout = [&] { fires.push_back({'s', time.nowMs()}); };
    fast->onTimeout = [&] { fires.push_back({'f', time.nowMs()}); };
    slow->setInterval(70);
    fast->setInterval(30);
    slow->setEnabled(true);
    fast->setEnabled(true);
    time.advance(100);
    EXPECT_EQ(fires, (Fires{{'f', 30}, {'f', 60}, {'s', 70}, {'f', 90}}));
    EXPECT_EQ(time.nowMs(), 100);
}

TEST(VirtualTime, ATimerRepeatsUntilDisabled) {
    VirtualTime time;
    auto timer = time.makeTimer();
    int count = 0;
    timer->onTimeout = [&] {
        if (++count == 3)
            timer->setEnabled(false);
    };
    timer->setInterval(100);
    timer->setEnabled(true);
    time.advance(10'000);
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(timer->enabled());
    EXPECT_FALSE(time.runNext());
}

TEST(VirtualTime, ReArmingFromTheHandlerChainsIntervalsExactly) {
    VirtualTime time;
    auto timer = time.makeTimer();
    std::vector<std::int64_t> at;
    const int intervals[] = {1000, 1, 100, 300};
    std::size_t next = 0;
    timer->onTimeout = [&] {
        at.push_back(time.nowMs());
        timer->setEnabled(false);
        if (next < std::size(intervals)) {
            timer->setInterval(intervals[next++]);
            timer->setEnabled(true);
        }
    };
    timer->setInterval(5);
    timer->setEnabled(true);
    while (time.runNext()) {
    }
    EXPECT_EQ(at, (std::vector<std::int64_t>{5, 1005, 1006, 1106, 1406}));
}

TEST(VirtualTime, EnablingOutsideTheHandlerCountsFromNow) {
    VirtualTime time;
    auto timer = time.makeTimer();
    timer->setInterval(100);
    timer->setEnabled(true);
    time.advance(60);
    timer->setInterval(100); // restarts
    EXPECT_EQ(timer->deadline(), 160);
    timer->setInterval(0); // next opportunity, never a stuck zero-length timer
    EXPECT_EQ(timer->deadline(), 61);
}

TEST(VirtualTime, TheDateRollsOverAtMidnight) {
    VirtualTime time({2026, 12, 31, 23, 59, 59, 500});
    time.advance(499);
    EXPECT_EQ(time.now().second, 59);
    EXPECT_EQ(time.now().millisecond, 999);
    time.advance(1);
    const platform::LocalTime t = time.now();
    EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond}),
              (std::vector<int>{2027, 1, 1, 0, 0, 0, 0}));
    time.advance(59LL * 86'400'000); // 59 days later: 2027 is not a leap year
    EXPECT_EQ(time.now().month, 3);
    EXPECT_EQ(time.now().day, 1);
}

TEST(VirtualTime, ADestroyedTimerNeverFires) {
    VirtualTime time;
    auto keep = time.makeTimer();
    int kept = 0;
    keep->onTimeout = [&] { ++kept; };
    keep->setEnabled(true);
    {
        auto gone = time.makeTimer();
        gone->setInterval(10);
        gone->setEnabled(true);
    }
    time.advance(1000); // would touch the freed timer without its deregistration
    EXPECT_EQ(kept, 1);
}

} // namespace
} // namespace tarvel::platform
