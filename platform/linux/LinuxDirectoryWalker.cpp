#include "platform/linux/LinuxDirectoryWalker.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vyp {

namespace {
struct LinuxDirent64 { // the record getdents64 fills
    uint64_t d_ino;
    int64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[1];
};

} // namespace

bool LinuxDirectoryWalker::ListFolder(const std::string& folderPath,
                                      std::vector<DirectoryEntry>& entries) {
    entries.clear();
    const int fd = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // getdents64 straight into a buffer: readdir's stream would add a stat and two fcntl calls
    // per folder, which a scan of many small folders notices.
    alignas(8) char buffer[32768];
    for (;;) {
        const long length = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (length <= 0)
            break;
        for (long offset = 0; offset < length;) {
            const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer + offset);
            offset += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            struct stat st {};
            if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since the folder was read
            DirectoryEntry& entry = entries.emplace_back();
            entry.name = name;
            entry.isFolder = S_ISDIR(st.st_mode);
            entry.size = entry.isFolder ? 0 : static_cast<int64_t>(st.st_size);
            entry.modified = ToLocalDateTime(static_cast<int64_t>(st.st_mtim.tv_sec));
        }
    }
    ::close(fd);
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        return NtfsNameLess(a.name, b.name);
    });
    return true;
}

} // namespace vyp
