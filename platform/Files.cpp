// What files do alike on every system: the life of an open file (closed at its end, handed on by
// a move). The calls to the system are in linux/LinuxFiles.cpp and windows/WindowsFiles.cpp.
#include "platform/Files.h"

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

TemporaryFile::~TemporaryFile() {
    Discard();
}

} // namespace vyp
