#include "lists/StoredDateTime.h"

#include <charconv>

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
