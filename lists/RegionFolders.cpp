#include "lists/RegionFolders.h"

#include <cstring>

namespace vyp {

namespace {
// The last "\" in [begin, end), or nullptr (memrchr is an extension of the GNU C library).
const char* LastBackslash(const char* begin, const char* end) {
#ifdef __GLIBC__
    return static_cast<const char*>(::memrchr(begin, '\\', static_cast<size_t>(end - begin)));
#else
    for (const char* p = end; p != begin;) {
        if (*--p == '\\')
            return p;
    }
    return nullptr;
#endif
}
} // namespace

std::string_view RegionFolders::FolderOf(const char* lineBegin) {
    if (const char* slash = LastBackslash(m_lookedThrough, lineBegin)) {
        const char* folderLine = LineStartBefore(m_floor, slash);
        m_folder = FirstField(std::string_view(
            folderLine, static_cast<size_t>(LineEndAfter(slash, m_end) - folderLine)));
        m_folderOffset = m_regionOffset + (folderLine - m_floor);
    }
    m_lookedThrough = lineBegin;
    return m_folder;
}

} // namespace vyp
