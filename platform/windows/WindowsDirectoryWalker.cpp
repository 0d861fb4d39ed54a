#include "platform/windows/WindowsDirectoryWalker.h"

#include "platform/windows/WindowsApi.h"

namespace vyp {

namespace {
bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// A link, a junction or a mount point: a name for other data, which the scan must not enter
// (cycles, the same data twice). Other reparse points (files held in the cloud, deduplicated
// files) are the data itself and are listed as what they are.
bool IsLink(const WIN32_FIND_DATAW& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate(found.dwReserved0);
}
} // namespace

bool WindowsDirectoryWalker::ListFolder(const std::string& folderPath,
                                        std::vector<DirectoryEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAW found;
    // The basic level leaves out the short 8.3 names nobody reads; the large fetch asks for
    // bigger batches, which a network share notices most.
    const HANDLE find =
        ::FindFirstFileExW(WidePath(PathInFolder(folderPath, "*")).c_str(), FindExInfoBasic, &found,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND; // an empty drive has no "." either
    do {
        if (IsDotOrDotDot(found.cFileName))
            continue;
        DirectoryEntry& entry = entries.emplace_back();
        entry.name = Utf8Text(found.cFileName, ::wcslen(found.cFileName));
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsLink(found);
        entry.size =
            entry.isFolder
                ? 0
                : static_cast<int64_t>((uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow);
        entry.modified = ToLocalDateTime(UnixSecondsOf(found.ftLastWriteTime));
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return true;
}

} // namespace vyp
