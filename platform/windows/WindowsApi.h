// The Windows headers for the Windows sources of the platform layer, and the conversions between
// the core's UTF-8 texts and the UTF-16 texts of the wide functions. Never included by a header
// outside platform/windows, so <windows.h> and its macros stay in these sources.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vyp {

// UTF-16 of a UTF-8 text; bytes that are not UTF-8 become U+FFFD.
std::wstring WideText(const std::string& utf8);
// UTF-8 of a UTF-16 text; a lone surrogate becomes U+FFFD.
std::string Utf8Text(const wchar_t* wide, size_t length);
std::string Utf8Text(const std::wstring& wide);

// The wide form of a path for the file functions. An absolute path too long for the classic
// limit gets the "\\?\" form, so deep trees of a disk stay reachable.
std::wstring WidePath(const std::string& utf8Path);

// name in folder: joined by "\\" unless folder ends with a separator already. With name "*",
// the pattern that finds everything in the folder.
std::string PathInFolder(const std::string& folder, std::string_view name);

// The moment of a FILETIME, in seconds since 1970 UTC, rounded down.
int64_t UnixSecondsOf(const FILETIME& time);
// The same in nanoseconds.
int64_t UnixNanosecondsOf(const FILETIME& time);

} // namespace vyp
