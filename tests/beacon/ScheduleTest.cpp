#include "beacon/Schedule.h"

#include <gtest/gtest.h>

namespace tarvel::beacon {
namespace {

constexpr std::int64_t kSecond = 1000;
constexpr std::int64_t kMinute = 60 * kSecond;
// 2026-12-07 00:00:00 UTC.
constexpr std::int64_t kMidnight = 1796601600LL * kSecond;

TEST(Schedule, StartsOnTheNextFrameOfEpochTime) {
    const std::int64_t tenMinutes = 10 * kMinute;
    // Exactly on a frame: at once; a millisecond after: the whole next frame.
    EXPECT_EQ(nextStart(kMidnight, tenMinutes, 0), kMidnight);
    EXPECT_EQ(nextStart(kMidnight + 1, tenMinutes, 0), kMidnight + tenMinutes);
    EXPECT_EQ(nextStart(kMidnight - 1, tenMinutes, 0), kMidnight);
    // Across midnight: 23:57 waits for 00:00 of the next day.
    EXPECT_EQ(nextStart(kMidnight - 3 * kMinute, tenMinutes, 0), kMidnight);
    // A frame that does not divide the day still counts from the epoch, not from midnight.
    const std::int64_t sevenMinutes = 7 * kMinute;
    const std::int64_t start = nextStart(kMidnight, sevenMinutes, 0);
    EXPECT_EQ(start % sevenMinutes, 0);
    EXPECT_GE(start, kMidnight);
    EXPECT_LT(start - kMidnight, sevenMinutes);
}

TEST(Schedule, OffsetShiftsTheStartInsideTheFrame) {
    const std::int64_t twoMinutes = 2 * kMinute;
    const std::int64_t offset = 30 * kSecond;
    EXPECT_EQ(nextStart(kMidnight, twoMinutes, offset), kMidnight + offset);
    EXPECT_EQ(nextStart(kMidnight + offset, twoMinutes, offset), kMidnight + offset);
    EXPECT_EQ(nextStart(kMidnight + offset + 1, twoMinutes, offset), kMidnight + twoMinutes + offset);
    // At 23:59 the start of the frame that began at 23:58 (23:58:30) has passed: 00:00:30 is next.
    EXPECT_EQ(nextStart(kMidnight - kMinute, twoMinutes, offset), kMidnight + offset);
}

TEST(Schedule, RefusesAPassLongerThanTheFrame) {
    EXPECT_EQ(passTooLong(10 * kMinute, 10 * kMinute), "");
    EXPECT_EQ(passTooLong(10 * kMinute + 500, 10 * kMinute),
              "the transmission takes 0:10:00.500, longer than the frame of 0:10:00 given by --every");
    EXPECT_EQ(formatDuration(381'206), "0:06:21.206");
    EXPECT_EQ(formatDuration(25 * 60 * kMinute + 59 * kSecond), "25:00:59");
}

} // namespace
} // namespace tarvel::beacon
