// What files do alike on every system: the life of an open file (closed at its end, handed on by
// a move), closing it, and a lock let go by closing its file. The calls to the system are in
// linux/LinuxFiles.cpp and windows/WindowsFiles.cpp.
#include "platform/Files.h"

#include "platform/StoredHandle.h"

namespace vyp {

InputFile::~InputFile() {
    Close();
}

InputFile::InputFile(InputFile&& other) noexcept : m_handle(other.m_handle) {
    other.m_handle = kClosedHandle;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = other.m_handle;
        other.m_handle = kClosedHandle;
    }
    return *this;
}

void InputFile::Close() {
    if (m_handle != kClosedHandle)
        CloseStoredHandle(m_handle);
    m_handle = kClosedHandle;
}

void UnlockFile(intptr_t handle) {
    // Closing lets go of the lock: the last descriptor of the open file on Linux, the handle's
    // locked range on Windows.
    CloseStoredHandle(handle);
}

TemporaryFile::~TemporaryFile() {
    Discard();
}

} // namespace vyp
