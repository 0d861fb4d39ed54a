#include "UnreadableFile.h"

#include "TestSupport.h"

#include <filesystem>
#ifdef _WIN32
#include <windows.h>
#endif

namespace vyp::test {

UnreadableFile::UnreadableFile(const std::string& path) {
#ifdef _WIN32
    WriteFile(path, "E:\\\t0\r\n");
    const HANDLE holder = ::CreateFileW(FsPath(path).c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(holder, INVALID_HANDLE_VALUE) << path;
    m_holder = reinterpret_cast<intptr_t>(holder);
#else
    std::filesystem::create_symlink("nowhere", FsPath(path));
#endif
}

UnreadableFile::~UnreadableFile() {
#ifdef _WIN32
    if (reinterpret_cast<HANDLE>(m_holder) != INVALID_HANDLE_VALUE)
        ::CloseHandle(reinterpret_cast<HANDLE>(m_holder));
#endif
}

} // namespace vyp::test
