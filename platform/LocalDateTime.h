// A last-write time in local time, seconds in the two-second steps list files have always used.
#pragma once

#include <compare>
#include <cstdint>

namespace vyp {

struct LocalDateTime {
    int64_t year = 0; // wide enough for any year a file system's time can give
    int month = 0;    // 1..12
    int day = 0;      // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0; // always even
    auto operator<=>(const LocalDateTime&) const = default;
};

// The local time of a moment given in seconds since 1970 UTC, in the time zone's offset in force
// on that date, seconds rounded down to even. Years outside 1980..2107 are kept as they are.
LocalDateTime ToLocalDateTime(int64_t unixSeconds);

} // namespace vyp
