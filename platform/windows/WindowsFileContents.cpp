#include "platform/FileContents.h"

#include <algorithm>

namespace vyp {

// The whole file is read however it will be read: a mapping would hold up saving the list.
int FileContents::Open(const std::string& path, Reading /*reading*/) {
    Close();
    InputFile file;
    if (const int err = file.Open(path, true))
        return err;
    if (const int err = file.Stamp(m_stamp))
        return err;
    // The size is a first guess only: the file may grow while it is read.
    std::string bytes(static_cast<size_t>(std::max<int64_t>(m_stamp.size, 0)) + 1, '\0');
    size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(bytes.size() + 65536);
        size_t n = 0;
        if (const int err = file.Read(bytes.data() + done, bytes.size() - done, n))
            return err;
        if (n == 0)
            break;
        done += n;
    }
    bytes.resize(done);
    m_read = std::move(bytes);
    m_data = m_read.data();
    m_size = m_read.size();
    return 0;
}

void FileContents::Close() {
    m_mapped = false;
    m_data = nullptr;
    m_size = 0;
    m_read.clear();
}

bool FileContents::CutShort() const {
    return false;
}

} // namespace vyp
