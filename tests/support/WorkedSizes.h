// The worked values of the size forms in megabytes and gigabytes with the Czech decimal comma,
// written out by hand: the display form tests check the program against them and the display
// forms' fuzz target checks its own reference against them, so both read this one table.
#pragma once

#include <cstdint>

namespace vyp::test {

struct WorkedSize {
    int64_t bytes;
    const char* megabytes;
    const char* gigabytes;
};

inline constexpr WorkedSize kWorkedSizes[] = {
    {0, "0,00 MB", "0,00 GB"},
    {5242, "0,00 MB", "0,00 GB"},
    {5243, "0,01 MB", "0,00 GB"},
    {131072, "0,13 MB", "0,00 GB"},
    {1048576, "1,00 MB", "0,00 GB"},
    {12345678, "11,77 MB", "0,01 GB"},
    {130000000, "124,00 MB", "0,12 GB"},
    {1047527424, "999,00 MB", "0,98 GB"},
    {1073741824, "1024,00 MB", "1,00 GB"},
    {10485235711, "9999,00 MB", "9,77 GB"},
    {10485235712, "1E04 MB", "9,77 GB"},
    {12945228800, "1,235E04 MB", "12,06 GB"},
    {1099511627776, "1,049E06 MB", "1024,00 GB"},
    {13194139533312, "1,258E07 MB", "1,229E04 GB"},
    {-1048576, "-1,00 MB", "0,00 GB"},
};

} // namespace vyp::test
