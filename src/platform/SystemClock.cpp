#include "platform/SystemClock.h"

#include <QDateTime>

namespace tarvel::platform {

LocalTime SystemClock::now() const {
    // One reading, so the date and the time of day always belong together around midnight.
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec()};
}

} // namespace tarvel::platform
