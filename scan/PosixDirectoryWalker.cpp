#include "scan/PosixDirectoryWalker.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {

namespace {
unsigned char UpperAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}
} // namespace

bool NtfsNameLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = UpperAscii(static_cast<unsigned char>(a[i]));
        const unsigned char cb = UpperAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

bool PosixDirectoryWalker::ListFolder(const std::string& folderPath,
                                      std::vector<DirectoryEntry>& entries) {
    entries.clear();
    const int fd = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return false;
    }
    while (const dirent* d = ::readdir(dir)) {
        const char* name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        struct stat st{};
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since the folder was read
        DirectoryEntry& entry = entries.emplace_back();
        entry.name = name;
        entry.isFolder = S_ISDIR(st.st_mode);
        entry.size = entry.isFolder ? 0 : static_cast<int64_t>(st.st_size);
        entry.modified = ToLocalDateTime(static_cast<int64_t>(st.st_mtim.tv_sec));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        return NtfsNameLess(a.name, b.name);
    });
    return true;
}

} // namespace vyp
