#include "platform/FileContents.h"

#include "platform/SystemError.h"
#include "platform/linux/LinuxMappingGuard.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {

namespace {
// Reads the whole of the open file fd from its start into bytes: 0 or the system's error.
int ReadAll(int fd, std::string& bytes) {
    bytes.clear();
    size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(bytes.size() + 65536);
        const ssize_t n =
            ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return 0;
}
} // namespace

int FileContents::Open(const std::string& path, Reading reading) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? kErrorIsAFolder : errno;
        ::close(fd);
        return err;
    }
    m_stamp.size = static_cast<int64_t>(st.st_size);
    m_stamp.modifiedNanoseconds =
        static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    if (st.st_size > 0) {
        // Every page mapped at once for a reader that goes through all of them: one call maps
        // them for less than a fault per few pages would. A reader of a few lines would pay
        // for the pages it never reads.
        const int populate = reading == Reading::Through ? MAP_POPULATE : 0;
        void* bytes = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ,
                             MAP_PRIVATE | populate, fd, 0);
        if (bytes == MAP_FAILED) {
            const int err = errno;
            ::close(fd);
            return err;
        }
        const int slot = MappingGuard::Watch(bytes, static_cast<size_t>(st.st_size));
        if (slot < 0) {
            // Unguarded, the bytes are read instead.
            ::munmap(bytes, static_cast<size_t>(st.st_size));
            const int err = ReadAll(fd, m_read);
            ::close(fd);
            m_data = m_read.data();
            m_size = m_read.size();
            return err;
        }
        m_guardSlot = slot;
        m_data = static_cast<const char*>(bytes);
        m_size = static_cast<size_t>(st.st_size);
        m_mapped = true;
    }
    ::close(fd); // the mapping keeps the file
    return 0;
}

void FileContents::Close() {
    if (m_mapped) {
        MappingGuard::Forget(m_guardSlot);
        ::munmap(const_cast<char*>(m_data), m_size);
    }
    m_guardSlot = -1;
    m_mapped = false;
    m_data = nullptr;
    m_size = 0;
    m_read.clear();
}

bool FileContents::CutShort() const {
    return m_mapped && MappingGuard::CutShort(m_guardSlot);
}

} // namespace vyp
