// The forms in which list files store a last-write time.
#pragma once

#include "platform/LocalDateTime.h"

#include <string>
#include <string_view>

namespace vyp {

// "yyyy.m.d": four-digit year, month and day without leading zeros (2004.1.15).
void AppendStoredDate(const LocalDateTime& t, std::string& out);
// "h:n.s" with the regional time separator in place of ":" (9:29.58).
void AppendStoredTime(const LocalDateTime& t, std::string_view timeSeparator, std::string& out);

} // namespace vyp
