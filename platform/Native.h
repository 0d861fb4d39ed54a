// The one place that picks the operating system's implementation of the platform layer: its
// path separator and its directory walker. The build compiles the matching folder of sources.
#pragma once

#ifdef _WIN32
#include "platform/windows/WindowsDirectoryWalker.h"
#else
#include "platform/linux/LinuxDirectoryWalker.h"
#endif

namespace vyp {

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
using NativeDirectoryWalker = WindowsDirectoryWalker;
#else
inline constexpr char kNativeSeparator = '/';
using NativeDirectoryWalker = LinuxDirectoryWalker;
#endif

} // namespace vyp
