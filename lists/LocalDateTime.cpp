#include "lists/LocalDateTime.h"

#include <charconv>
#include <ctime>

namespace vyp {

namespace {
void AppendNumber(long long value, std::string& out, int minDigits = 1) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value < 0 ? -value : value);
    const int length = static_cast<int>(result.ptr - digits);
    if (value < 0)
        out.push_back('-');
    for (int i = length; i < minDigits; ++i)
        out.push_back('0');
    out.append(digits, result.ptr);
}
} // namespace

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

void AppendStoredDate(const LocalDateTime& t, std::string& out) {
    AppendNumber(t.year, out, 4);
    out.push_back('.');
    AppendNumber(t.month, out);
    out.push_back('.');
    AppendNumber(t.day, out);
}

void AppendStoredTime(const LocalDateTime& t, std::string_view timeSeparator, std::string& out) {
    AppendNumber(t.hour, out);
    out.append(timeSeparator);
    AppendNumber(t.minute, out);
    out.push_back('.');
    AppendNumber(t.second, out);
}

} // namespace vyp
