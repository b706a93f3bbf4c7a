#include "platform/SystemClock.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace tarvel::platform {
namespace {

QDateTime toQt(const LocalTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second, t.millisecond));
}

TEST(SystemClock, ReadsTheLocalDateAndTimeOfDay) {
    const QDateTime before = QDateTime::currentDateTime();
    const LocalTime now = SystemClock().now();
    const QDateTime after = QDateTime::currentDateTime();
    const QDateTime read = toQt(now);
    ASSERT_TRUE(read.isValid());
    EXPECT_LE(before, read);
    EXPECT_LE(read, after);
}

} // namespace
} // namespace tarvel::platform
