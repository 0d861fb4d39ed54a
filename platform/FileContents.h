// The whole of a file's bytes at hand at once, for readers that go through large files in one
// pass and look back into them (comparing two lists). On Linux the file is mapped read-only from
// the system's cache, so its bytes are neither copied nor held twice; lists are replaced by
// writing a new file and renaming it, so a mapping keeps the old file whole, and a file cut
// short in place by another program reads as zeros past its new end (CutShort). On Windows a file
// that is mapped cannot be replaced, which would hold up saving a list, so there it is read into
// memory.
#pragma once

#include "platform/Files.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace vyp {

class FileContents {
public:
    FileContents() = default;
    ~FileContents() { Close(); }
    FileContents(FileContents&& other) noexcept { *this = std::move(other); }
    FileContents& operator=(FileContents&& other) noexcept {
        if (this != &other) {
            Close();
            m_mapped = other.m_mapped;
            m_guardSlot = other.m_guardSlot;
            m_size = other.m_size;
            m_stamp = other.m_stamp;
            m_read = std::move(other.m_read);
            m_data = m_mapped ? other.m_data : m_read.data();
            other.m_data = nullptr;
            other.m_size = 0;
            other.m_mapped = false;
            other.m_guardSlot = -1;
            other.m_read.clear();
        }
        return *this;
    }
    FileContents(const FileContents&) = delete;
    FileContents& operator=(const FileContents&) = delete;

    // How the bytes will be read: all of them in turn, or a few lines here and there (where the
    // file is mapped, its pages are then made ready only as they are first read, not all at once).
    enum class Reading { Through, HereAndThere };

    // Opens path and makes its bytes available; 0 or the system's error code. A folder is
    // refused with kErrorIsAFolder.
    int Open(const std::string& path, Reading reading = Reading::Through);
    // Lets go of the bytes.
    void Close();

    std::string_view Bytes() const { return std::string_view(m_data, m_size); }
    // Whether a read met the mapped file cut short in place since it was opened: its bytes from
    // the new end are zeros. A reader asks this once it has read, before it hands anything on,
    // and treats the file as changed.
    bool CutShort() const;
    // The file's size and last-write time when it was opened.
    const FileStamp& Stamp() const { return m_stamp; }

private:
    const char* m_data = nullptr;
    size_t m_size = 0;
    bool m_mapped = false;
    int m_guardSlot = -1; // where the guard watches the mapping
    std::string m_read;   // the bytes, where they were read rather than mapped
    FileStamp m_stamp;
};

} // namespace vyp
