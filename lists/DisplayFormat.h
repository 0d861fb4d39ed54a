// How sizes, dates and times are shown: the megabyte, gigabyte and exact size forms, the one
// number format they share, and the list dates in the user's regional forms.
#pragma once

#include "lists/RegionalSettings.h"
#include "lists/StoredDateTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vyp {

// Four significant digits, two decimals, no grouping; the exponent form from 10000 on
// (12345.678 gives "1,235E04"). Rounds half up on the exact decimal value of v.
std::string FormatSizeNumber(double v, std::string_view decimalSeparator);

// bytes / 1048576 in the size number format followed by " MB".
std::string FormatMB(int64_t bytes, const RegionalSettings& regional);
// The same appended to out: for a row of every file a search finds.
void AppendMB(int64_t bytes, const RegionalSettings& regional, std::string& out);
// The same written at out, which has room for kMBFormMost bytes; returns the end, or nullptr
// for a size that takes the general way (negative, the exponent form from 10000 MB on, or a
// decimal separator of more than a few bytes), which AppendMB then takes.
inline constexpr size_t kMBFormMost = 24;
char* PutMB(int64_t bytes, const RegionalSettings& regional, char* out);
// bytes / 1073741824 in the size number format followed by " GB".
std::string FormatGB(int64_t bytes, const RegionalSettings& regional);

// Megabytes up to and including 999 MiB (1047527424 bytes), gigabytes above.
inline constexpr int64_t kTreeSizeMegabyteLimit = 999LL * 1048576;
// Converts sizeText as a signed 64-bit integer (VypisnikError when it is not one).
std::string FormatTreeSize(std::string_view sizeText, const RegionalSettings& regional);

// The size text as stored followed by " B"; nothing is converted.
std::string FormatExactSize(std::string_view sizeText);

// The regional short date and long time of a list file's last-write time.
std::string FormatListDate(const LocalDateTime& t, const RegionalSettings& regional);
std::string FormatListTime(const LocalDateTime& t, const RegionalSettings& regional);

// Formats t by a date/time pattern (the letters of RegionalSettings, names from regional).
std::string FormatDateTimePattern(const LocalDateTime& t, std::string_view pattern,
                                  const RegionalSettings& regional = {});

} // namespace vyp
