#include "platform/KernelTimer.h"

#include "EventLoopTest.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tarvel::platform {
namespace {

using namespace std::chrono_literals;

// Lateness of a loaded machine's size is tolerated (the chain itself is checked on the deadlines, which
// load cannot move), earliness never.
constexpr auto kLoadedWakeUp = 500ms;

template <typename Timer> class KernelTimerTest : public EventLoopTest {};
using BothClocks = ::testing::Types<WallClockTimer, MonotonicTimer>;
TYPED_TEST_SUITE(KernelTimerTest, BothClocks);

TYPED_TEST(KernelTimerTest, StartAtFiresAtTheAbsoluteTimeAndRepeatsEveryIntervalAfterIt) {
    using Clock = typename TypeParam::Clock;
    TypeParam timer;
    if constexpr (std::is_same_v<TypeParam, WallClockTimer>)
        timer.watchClockSteps([](std::chrono::nanoseconds) {}); // as the beacon's alarm arms it
    std::vector<typename Clock::time_point> at, next;
    timer.onTimeout = [&] {
        at.push_back(Clock::now());
        next.push_back(timer.deadline());
        if (at.size() == 3)
            timer.setEnabled(false);
    };
    timer.setInterval(40);
    const auto target = Clock::now() + 100ms;
    timer.startAt(target);
    EXPECT_TRUE(timer.enabled() && timer.deadline() == target);
    this->runUntil([&] { return at.size() == 3; }, 5s);
    ASSERT_EQ(at.size(), 3u);
    EXPECT_EQ(next, (std::vector{target + 40ms, target + 80ms, target + 120ms}));
    EXPECT_GE(at[0], target);
    EXPECT_LE(at[0], target + kLoadedWakeUp);
    EXPECT_GE(at[2], target + 80ms);
}

// The keyer's pattern: each step disables the timer, does slow work and re-arms it; the handler's own
// nested event loop (a message box) must not break the chain either.
TYPED_TEST(KernelTimerTest, AChainReArmedFromTheHandlerDoesNotDrift) {
    using Clock = typename TypeParam::Clock;
    TypeParam timer;
    int fired = 0, firedNested = 0;
    QEventLoop nested;
    std::vector<typename Clock::time_point> deadlines;
    typename Clock::time_point last;
    timer.onTimeout = [&] {
        last = Clock::now();
        if (nested.isRunning() && ++firedNested == 2)
            nested.quit();
        if (++fired == 10) { // left armed: the next two timeouts come inside the nested loop
            QTimer::singleShot(5000, &nested, &QEventLoop::quit);
            nested.exec();
            return;
        }
        timer.setEnabled(false);
        std::this_thread::sleep_for(5ms);
        if (fired < 20) {
            timer.setInterval(50);
            timer.setEnabled(true);
            deadlines.push_back(timer.deadline());
        }
    };
    timer.setInterval(50);
    const auto start = Clock::now();
    timer.setEnabled(true);
    const auto first = timer.deadline();
    this->runUntil([&] { return fired == 20; }, 10s);
    ASSERT_EQ(fired, 20);
    EXPECT_EQ(firedNested, 2);
    for (std::size_t k = 0; k < deadlines.size(); ++k)
        EXPECT_EQ(deadlines[k], first + static_cast<int>(k < 9 ? k + 1 : k + 2) * 50ms) << "re-arm " << k;
    EXPECT_GE(last, start + 1000ms);
    EXPECT_LE(last, start + 1000ms + kLoadedWakeUp);
}

TYPED_TEST(KernelTimerTest, DisablingCancelsThePendingTimeout) {
    TypeParam timer;
    int fired = 0;
    timer.onTimeout = [&] { ++fired; };
    timer.startAt(TypeParam::Clock::now() + 50ms);
    timer.setEnabled(false); // surely before the deadline, however loaded the machine
    this->runFor(150ms);
    EXPECT_EQ(fired, 0);
}

TYPED_TEST(KernelTimerTest, NoTimeoutComesBeforeItsDeadlineNearerOrFurtherThanTheWakeUpLead) {
    TypeParam timer;
    int fired = 0, steps = 0;
    if constexpr (std::is_same_v<TypeParam, WallClockTimer>)
        timer.watchClockSteps([&](std::chrono::nanoseconds) { ++steps; }); // none unless the clock is set
    timer.onTimeout = [&, target = TypeParam::Clock::now()]() mutable {
        EXPECT_GE(TypeParam::Clock::now(), target) << "timeout " << fired;
        timer.startAt(target = TypeParam::Clock::now() + std::chrono::microseconds(++fired % 9 * 80));
    };
    timer.startAt(TypeParam::Clock::now()); // after the first target
    this->runUntil([&] { return fired == 300; }, 10s);
    EXPECT_EQ(std::pair(fired, steps), std::pair(300, 0));
}

} // namespace
} // namespace tarvel::platform
