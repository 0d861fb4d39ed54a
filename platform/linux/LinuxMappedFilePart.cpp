#include "platform/MappedFilePart.h"

#include "platform/linux/LinuxMappingGuard.h"

#include <algorithm>
#include <atomic>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {

namespace {
std::atomic<bool> g_mappingAllowed{true};
} // namespace

void MappedFilePart::AllowMapping(bool allowed) {
    g_mappingAllowed.store(allowed, std::memory_order_relaxed);
}

bool MappedFilePart::Map(const InputFile& file, int64_t offset, size_t count) {
    Close();
    struct stat st {};
    if (!g_mappingAllowed.load(std::memory_order_relaxed) || !file.IsOpen() || offset < 0 ||
        ::fstat(static_cast<int>(file.m_handle), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const int64_t size = static_cast<int64_t>(st.st_size);
    if (offset >= size)
        return true; // nothing there: an empty stretch
    count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), size - offset));
    if (count == 0)
        return true;
    static const int64_t page = ::sysconf(_SC_PAGESIZE);
    const int64_t start = offset / page * page;
    const size_t length = count + static_cast<size_t>(offset - start);
    // Every page at once: the reader goes through all of them, and one call maps them for far
    // less than a fault per few pages would. Should the file be cut short in place after this,
    // the guard turns the pages past its new end into zeros when they are read (CutShort).
    void* base = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE,
                        static_cast<int>(file.m_handle), static_cast<off_t>(start));
    if (base == MAP_FAILED)
        return false;
    const int slot = MappingGuard::Watch(base, length);
    if (slot < 0) {
        ::munmap(base, length); // unguarded, the bytes are read instead
        return false;
    }
    m_guardSlot = slot;
    m_base = base;
    m_length = length;
    m_data = static_cast<const char*>(base) + (offset - start);
    m_size = count;
    return true;
}

void MappedFilePart::Close() {
    if (m_base != nullptr) {
        MappingGuard::Forget(m_guardSlot);
        ::munmap(m_base, m_length);
    }
    m_guardSlot = -1;
    m_base = nullptr;
    m_length = 0;
    m_data = nullptr;
    m_size = 0;
}

bool MappedFilePart::CutShort() const {
    return MappingGuard::CutShort(m_guardSlot);
}

} // namespace vyp
