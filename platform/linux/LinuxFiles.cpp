#include "platform/Files.h"
#include "platform/StoredHandle.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {

const int kErrorIsAFolder = EISDIR;
const int kErrorAccessDenied = EACCES;
const int kErrorDiskFull = ENOSPC;
const int kErrorLockHeld = EWOULDBLOCK;
const int kErrorCutShort = EIO; // what the system gives a read whose bytes it cannot bring

std::string SystemErrorText(int code) {
    return std::strerror(code);
}

namespace {
int64_t NanosecondsOf(const timespec& time) {
    return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

int Fd(intptr_t handle) {
    return static_cast<int>(handle);
}

// Calls call again while a signal interrupts it (EINTR): its result, or -1 with errno set.
template <typename Call> auto Uninterrupted(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

// 0 with done set to the bytes a read or write moved, or the system's error.
int Moved(ssize_t result, size_t& done) {
    if (result < 0)
        return errno;
    done = static_cast<size_t>(result);
    return 0;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
} // namespace

PathKind KindOfPath(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return PathKind::Missing;
    if (S_ISDIR(st.st_mode))
        return PathKind::Folder;
    return S_ISREG(st.st_mode) ? PathKind::File : PathKind::Other;
}

int InputFile::Open(const std::string& path, bool sequential) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return err;
    }
    if (sequential)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_handle = fd;
    return 0;
}

int InputFile::Read(char* buffer, size_t count, size_t& done) {
    return Moved(Uninterrupted([&] { return ::read(Fd(m_handle), buffer, count); }), done);
}

int InputFile::ReadAt(int64_t offset, char* buffer, size_t count, size_t& done) {
    return Moved(Uninterrupted([&] {
                     return ::pread(Fd(m_handle), buffer, count, static_cast<off_t>(offset));
                 }),
                 done);
}

int InputFile::Stamp(FileStamp& stamp) const {
    struct stat st {};
    if (::fstat(Fd(m_handle), &st) != 0)
        return errno;
    stamp.size = static_cast<int64_t>(st.st_size);
    stamp.modifiedNanoseconds = NanosecondsOf(st.st_mtim);
    return 0;
}

int TemporaryFile::CreateBeside(const std::string& target) {
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    std::string pattern = target + ".tmp-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return errno;
    m_handle = fd;
    m_path = std::move(pattern);
    ::flock(fd, LOCK_EX); // tells the cleanup at start that this temporary is being written
    ::fchmod(fd, exists ? (existing.st_mode & 07777) : NewFileMode());
    return 0;
}

int TemporaryFile::Write(const char* bytes, size_t count, size_t& done) {
    return Moved(Uninterrupted([&] { return ::write(Fd(m_handle), bytes, count); }), done);
}

int TemporaryFile::Sync() {
    return ::fsync(Fd(m_handle)) == 0 ? 0 : errno;
}

int TemporaryFile::Close() {
    const intptr_t handle = m_handle;
    m_handle = kClosedHandle;
    return CloseStoredHandle(handle);
}

int TemporaryFile::Replace(const std::string& target) {
    // Renamed while still open: its lock lasts until Close, so the cleanup at start of another
    // instance can lock it only once it bears target's name, and then leaves it alone.
    if (::rename(m_path.c_str(), target.c_str()) != 0)
        return errno;
    m_path.clear();
    return 0;
}

void TemporaryFile::Discard() {
    if (m_handle != kClosedHandle)
        CloseStoredHandle(m_handle);
    m_handle = kClosedHandle;
    if (!m_path.empty())
        ::unlink(m_path.c_str());
    m_path.clear();
}

std::string FileReplacedByWriteOf(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) { // as many links in a chain as the system follows
        struct stat link {};
        if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return target;
        std::string named(static_cast<size_t>(link.st_size) + 1, '\0');
        const ssize_t length = ::readlink(target.c_str(), named.data(), named.size());
        if (length < 0 || static_cast<size_t>(length) >= named.size())
            return path;
        named.resize(static_cast<size_t>(length));
        // A relative link names a file beside the link, and may name one that does not exist yet.
        if (!named.empty() && named.front() != '/')
            named.insert(0, target.substr(0, target.rfind('/') + 1));
        target = std::move(named);
    }
    return path;
}

int CheckReplaceable(const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0)
        return 0;
    if (S_ISDIR(existing.st_mode))
        return EISDIR;
    if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return EACCES;
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

int MakeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0)
        return 0;
    const int err = errno;
    return err == EEXIST && KindOfPath(path) == PathKind::Folder ? 0 : err;
}

int RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

std::vector<std::string> NamesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

bool RemoveIfUnheld(const std::string& folder, const std::string& name,
                    int64_t modifiedBeforeNanoseconds) {
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return false;
    const int fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    bool removed = false;
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
            NanosecondsOf(st.st_mtim) < modifiedBeforeNanoseconds &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // Still the same file under that name: its writer, which renames it before it lets
            // go of the lock, had not put it in place yet when it died.
            struct stat named {};
            if (::fstatat(folderFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                named.st_ino == st.st_ino && named.st_dev == st.st_dev)
                removed = ::unlinkat(folderFd, name.c_str(), 0) == 0;
        }
        ::close(fd);
    }
    ::close(folderFd);
    return removed;
}

std::vector<std::string> PathsOfOwnOpenFiles() {
    std::vector<std::string> paths;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir)
        return paths;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
        if (length > 0 && target[0] == '/')
            paths.emplace_back(target, static_cast<size_t>(length));
    }
    ::closedir(dir);
    return paths;
}

int TryLockFile(const std::string& path, intptr_t& handle) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC); // flock needs no write access
    if (fd < 0)
        return errno;
    if (Uninterrupted([fd] { return ::flock(fd, LOCK_EX | LOCK_NB); }) == 0) {
        handle = fd;
        return 0;
    }
    const int err = errno;
    ::close(fd);
    return err;
}

int CloseStoredHandle(intptr_t handle) {
    return ::close(Fd(handle)) == 0 ? 0 : errno;
}

std::string ExecutableFolder() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    std::string folder(path, static_cast<size_t>(length));
    folder.erase(folder.rfind('/') + 1);
    return folder;
}

} // namespace vyp
