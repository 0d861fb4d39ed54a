#include "lists/SafeFileWriter.h"

#include "lists/Errors.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {

namespace {
constexpr size_t kBufferSize = 1 << 16;

// The failure a test asked for: the step (plus one, 0 for none) and its error number.
std::atomic<int> g_failingStep{0};
std::atomic<int> g_failingError{0};

// True, with err set, when the test asked step to fail; the request is used up.
bool InjectedFailure(SafeWriteStep step, int& err) {
    int expected = static_cast<int>(step) + 1;
    if (!g_failingStep.compare_exchange_strong(expected, 0))
        return false;
    err = g_failingError.load();
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file that a write of path replaces. A symbolic link (a list or "settings.ini" that the user
// keeps elsewhere) is written through: the file it names is replaced, and the link stays a link.
std::string ReplacedFile(const std::string& path) {
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
} // namespace

void SafeFileWriter::FailNextAt(SafeWriteStep step, int err) {
    g_failingError = err;
    g_failingStep = static_cast<int>(step) + 1;
}

SafeFileWriter::SafeFileWriter(std::string path)
    : m_path(std::move(path)), m_targetPath(ReplacedFile(m_path)) {
    struct stat existing {};
    const bool exists = ::stat(m_path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        throw VypisnikError(FileOpenErrorText(m_path, EISDIR));
    if (exists && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throw VypisnikError(FileOpenErrorText(m_path, EACCES));
    if (exists && ::access(m_path.c_str(), W_OK) != 0)
        throw VypisnikError(FileOpenErrorText(m_path, errno));

    // The suffix keeps the temporary file out of every "*.sez" enumeration.
    std::string pattern = m_targetPath + ".tmp-XXXXXX"; // beside the file it replaces
    int injected = 0;
    if (InjectedFailure(SafeWriteStep::CreateTemporary, injected))
        throw VypisnikError(FileOpenErrorText(m_path, injected));
    m_fd = ::mkstemp(pattern.data());
    if (m_fd < 0)
        throw VypisnikError(FileOpenErrorText(m_path, errno));
    m_tempPath = std::move(pattern);
    ::flock(m_fd, LOCK_EX); // tells the cleanup at start that this temporary is being written
    ::fchmod(m_fd, exists ? (existing.st_mode & 07777) : NewFileMode());
    m_buffer.reserve(kBufferSize);
}

SafeFileWriter::~SafeFileWriter() {
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_tempPath.c_str());
    }
}

void SafeFileWriter::Write(std::string_view bytes) {
    if (m_buffer.size() + bytes.size() > kBufferSize)
        Flush();
    if (bytes.size() >= kBufferSize) {
        m_buffer.assign(bytes);
        Flush();
        return;
    }
    m_buffer.append(bytes);
}

void SafeFileWriter::Flush() {
    size_t done = 0;
    int injected = 0;
    if (InjectedFailure(SafeWriteStep::Write, injected))
        FailWrite(injected);
    size_t allowed = m_buffer.size(); // bytes the disk takes
    if (InjectedFailure(SafeWriteStep::ShortWrite, injected))
        allowed /= 2;
    while (done < m_buffer.size()) {
        const ssize_t n =
            done < allowed ? ::write(m_fd, m_buffer.data() + done, allowed - done) : 0;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            FailWrite(n < 0 ? errno : ENOSPC);
        done += static_cast<size_t>(n);
    }
    m_buffer.clear();
}

void SafeFileWriter::FailWrite(int err) {
    ::close(m_fd);
    ::unlink(m_tempPath.c_str());
    m_fd = -1;
    throw VypisnikError(FileWriteErrorText(m_path, err));
}

void SafeFileWriter::Commit() {
    Flush();
    int injected = 0;
    if (InjectedFailure(SafeWriteStep::Sync, injected) || ::fsync(m_fd) != 0)
        FailWrite(injected != 0 ? injected : errno);
    const bool closeFails = InjectedFailure(SafeWriteStep::Close, injected);
    if (::close(m_fd) != 0 || closeFails) {
        m_fd = -1;
        const int err = closeFails ? injected : errno;
        ::unlink(m_tempPath.c_str());
        throw VypisnikError(FileWriteErrorText(m_path, err));
    }
    m_fd = -1;
    const bool renameFails = InjectedFailure(SafeWriteStep::Rename, injected);
    if (renameFails || ::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0) {
        const int err = renameFails ? injected : errno;
        ::unlink(m_tempPath.c_str());
        throw VypisnikError(FileWriteErrorText(m_path, err));
    }
}

void WriteFileSafely(const std::string& path, std::string_view contents) {
    SafeFileWriter writer(path);
    writer.Write(contents);
    writer.Commit();
}

} // namespace vyp
