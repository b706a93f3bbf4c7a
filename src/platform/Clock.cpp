#include "platform/Clock.h"

#include <chrono>

namespace tarvel::platform {

LocalTime addMilliseconds(const LocalTime& start, std::int64_t milliseconds) {
    using namespace std::chrono;
    const sys_days day = year_month_day{year{start.year}, month{static_cast<unsigned>(start.month)},
                                        std::chrono::day{static_cast<unsigned>(start.day)}};
    const auto t = day + hours{start.hour} + minutes{start.minute} + seconds{start.second} +
                   std::chrono::milliseconds{start.millisecond} + std::chrono::milliseconds{milliseconds};
    const auto d = floor<days>(t);
    const year_month_day ymd{d};
    const hh_mm_ss<std::chrono::milliseconds> hms{floor<std::chrono::milliseconds>(t - d)};
    return {static_cast<int>(ymd.year()),
            static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())),
            static_cast<int>(hms.hours().count()),
            static_cast<int>(hms.minutes().count()),
            static_cast<int>(hms.seconds().count()),
            static_cast<int>(hms.subseconds().count())};
}

} // namespace tarvel::platform
