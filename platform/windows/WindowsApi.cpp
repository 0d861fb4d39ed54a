#include "platform/windows/WindowsApi.h"

#include <climits>

namespace vyp {

namespace {
constexpr int64_t kFileTimeOf1970 = 116444736000000000; // 100 ns steps from 1601 to 1970
constexpr int64_t kStepsPerSecond = 10000000;

int64_t FileTimeSteps(const FILETIME& time) {
    return static_cast<int64_t>((uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
}
} // namespace

std::wstring WideText(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string Utf8Text(const wchar_t* wide, size_t length) {
    if (length == 0 || length > INT_MAX)
        return {};
    const int size = static_cast<int>(length);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, size, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

std::string Utf8Text(const std::wstring& wide) {
    return Utf8Text(wide.data(), wide.size());
}

std::wstring WidePath(const std::string& utf8Path) {
    std::wstring wide = WideText(utf8Path);
    // "\\?\" turns off the parsing of "/", "." and "..", so it is only taken where it is needed,
    // after the system has resolved those.
    if (wide.size() < MAX_PATH - 12 || wide.starts_with(L"\\\\?\\"))
        return wide;
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return wide;
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return wide;
    full.resize(length);
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::string PathInFolder(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || (path.back() != '\\' && path.back() != '/'))
        path.push_back('\\');
    path.append(name);
    return path;
}

int64_t UnixSecondsOf(const FILETIME& time) {
    const int64_t steps = FileTimeSteps(time) - kFileTimeOf1970;
    // Rounded down, also before 1970, so a time never moves into the next second.
    return steps >= 0 ? steps / kStepsPerSecond
                      : -((-steps + kStepsPerSecond - 1) / kStepsPerSecond);
}

int64_t UnixNanosecondsOf(const FILETIME& time) {
    // Only compared for equality: far-off times wrap instead of overflowing.
    return static_cast<int64_t>(static_cast<uint64_t>(FileTimeSteps(time) - kFileTimeOf1970) * 100);
}

} // namespace vyp
