// A last-write time in local time, seconds in the two-second steps list files have always used,
// and the forms in which list files store it.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

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

// The local time of a moment given in seconds since 1970 UTC, seconds rounded down to even.
// Years outside 1980..2107 are kept as they are.
LocalDateTime ToLocalDateTime(int64_t unixSeconds);

// "yyyy.m.d": four-digit year, month and day without leading zeros (2004.1.15).
void AppendStoredDate(const LocalDateTime& t, std::string& out);
// "h:n.s" with the regional time separator in place of ":" (9:29.58).
void AppendStoredTime(const LocalDateTime& t, std::string_view timeSeparator, std::string& out);

} // namespace vyp
