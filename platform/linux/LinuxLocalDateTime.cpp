#include "platform/LocalDateTime.h"

#include <ctime>

namespace vyp {

LocalDateTime ToLocalDateTime(int64_t unixSeconds) {
    const std::time_t moment = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    if (::localtime_r(&moment, &tm) == nullptr)
        return {};
    LocalDateTime t;
    t.year = int64_t{tm.tm_year} + 1900; // tm_year may be near INT_MAX
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec & ~1; // a leap second 60 stays even as well
    return t;
}

} // namespace vyp
