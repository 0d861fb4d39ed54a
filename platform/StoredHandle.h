// The one call of each system that closes a file as platform/ stores it (intptr_t: a descriptor
// on Linux, a handle on Windows), so that what files do alike is written once in Files.cpp. For
// the code of platform/ only; 0 or the system's error code.
#pragma once

#include <cstdint>

namespace vyp {

int CloseStoredHandle(intptr_t handle);

} // namespace vyp
