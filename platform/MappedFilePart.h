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
    // renaming it, which leaves a mapped old file whole. Another program may still cut a file
    // short in place (truncate it, save over it) while its bytes are read; reading a mapped page
    // past the new end then finds zeros instead of ending the process (SIGBUS on Linux: a guard
    // maps zero pages over the rest of the part), and CutShort() tells so.
    bool Map(const InputFile& file, int64_t offset, size_t count);
    void Close();

    // Whether Map maps at all, for every part in the process (it does by default where the
    // system maps files): the tests turn it off to read through the readers' buffers, as on
    // Windows.
    static void AllowMapping(bool allowed);

    std::string_view Bytes() const { return std::string_view(m_data, m_size); }
    // Whether a read met the part's file cut short since it was mapped: the bytes from where the
    // file ends now are zeros, and what was read from the part may be neither the file as it was
    // nor as it is. A reader asks this after reading, before it hands on what it read, and
    // treats the file as changed. False again after Close or Map.
    bool CutShort() const;

private:
    void* m_base = nullptr; // what the system mapped, from a page's start
    size_t m_length = 0;
    const char* m_data = nullptr;
    size_t m_size = 0;
    int m_guardSlot = -1; // where the guard watches the mapping
};

} // namespace vyp
