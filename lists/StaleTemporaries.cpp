#include "lists/StaleTemporaries.h"

#include "lists/DataFolder.h"
#include "lists/ListFile.h"
#include "lists/ListRegistry.h"

#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {

namespace {

constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr size_t kRandomLength = 6;

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Removes folder/name when it is a regular file of ours that nobody holds locked.
bool RemoveIfStale(int folderFd, const char* name) {
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool removed = false;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Still the same file under that name: nothing renamed it while it was being locked.
        struct stat named {};
        if (::fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_ino == st.st_ino && named.st_dev == st.st_dev)
            removed = ::unlinkat(folderFd, name, 0) == 0;
    }
    ::close(fd);
    return removed;
}

int RemoveStaleIn(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsSafeWriteTemporaryName(entry->d_name) && RemoveIfStale(::dirfd(dir), entry->d_name))
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace

bool IsSafeWriteTemporaryName(std::string_view name) {
    if (name.size() < kTemporaryInfix.size() + kRandomLength)
        return false;
    const std::string_view random = name.substr(name.size() - kRandomLength);
    name.remove_suffix(kRandomLength);
    for (char c : random) {
        if (!IsLetterOrDigit(c))
            return false;
    }
    if (!name.ends_with(kTemporaryInfix))
        return false;
    name.remove_suffix(kTemporaryInfix.size());
    return name == kSettingsFileName || (name.size() > kListExtension.size() &&
                                         MatchesPattern(name, "*" + std::string(kListExtension)));
}

int RemoveStaleTemporaries(const DataFolder& data) {
    return RemoveStaleIn(data.Folder()) + RemoveStaleIn(data.ListFolder());
}

int RemoveOwnTemporaries() {
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        char target[4096];
        const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
        if (length <= 0 || target[0] != '/')
            continue;
        const std::string_view path(target, static_cast<size_t>(length));
        const std::string_view name = path.substr(path.rfind('/') + 1);
        if (IsSafeWriteTemporaryName(name) && ::unlink(std::string(path).c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace vyp
