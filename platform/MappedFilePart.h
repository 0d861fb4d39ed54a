// A stretch of an open file's bytes at hand without a copy, for readers that go through long
// files in one pass: on Linux the stretch is mapped read-only from the system's cache, every page
// at once, so the bytes are neither copied into a buffer nor faulted in page by page. On Windows a
// file that is mapped cannot be replaced, which would hold up saving a list, so there nothing is
// mapped and the readers read as they always did.
#pragma once

#include "platform/Files.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vyp {

class MappedFilePart {
public:
    MappedFilePart() = default;
    ~MappedFilePart() { Close(); }
    MappedFilePart(const MappedFilePart&) = delete;
    MappedFilePart& operator=(const MappedFilePart&) = delete;

    // Maps count bytes of file from offset, or as many as the file has there now (none at or past
    // its end). False where the system does not map or the mapping fails: the caller reads the
    // bytes instead. What was mapped before goes in either case.
    //
    // The mapping shows the file as it is on disk: lists are replaced by writing a new file and
    // renaming it, which leaves a mapped old file whole, but a file cut short in place while its
    // bytes are read would end the process (SIGBUS on Linux). The program never cuts a list in
    // place, and the size is taken when the stretch is mapped, so only such a cut by another
    // program in the very moments of reading could.
    bool Map(const InputFile& file, int64_t offset, size_t count);
    void Close();

    // Whether Map maps at all, for every part in the process (it does by default where the
    // system maps files): the tests turn it off to read through the readers' buffers, as on
    // Windows.
    static void AllowMapping(bool allowed);

    std::string_view Bytes() const { return std::string_view(m_data, m_size); }

private:
    void* m_base = nullptr; // what the system mapped, from a page's start
    size_t m_length = 0;
    const char* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace vyp
